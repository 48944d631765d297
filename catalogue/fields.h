// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Field names of the three catalogue tables, as stored in the files. Code names a field only
// through these, so a misspelt name fails to compile instead of reading an empty field.
namespace PictureField {
inline const QString Name = QStringLiteral("Name");
inline const QString Image = QStringLiteral("Image");
} // namespace PictureField

namespace ElementField {
inline const QString Name = QStringLiteral("Name");
inline const QString IntDefine = QStringLiteral("Int_Define");
inline const QString ExtDefine = QStringLiteral("Ext_Define");
inline const QString ImageName = QStringLiteral("Image_Name");
inline const QString Script = QStringLiteral("Script");
} // namespace ElementField

namespace ChipField {
inline const QString Mark = QStringLiteral("Mark");
inline const QString Type = QStringLiteral("Type");
inline const QString ElemCount = QStringLiteral("Elem_Count");
inline const QString LegsCount = QStringLiteral("Legs_Count");
inline const QString ElemName = QStringLiteral("Elem_name");
inline const QString ImageName = QStringLiteral("Image_name");
inline const QString ReactTimeLH = QStringLiteral("React_Time_LH");
inline const QString ReactTimeHL = QStringLiteral("React_Time_HL");
inline const QString Power = QStringLiteral("Power");
inline const QString Voltage = QStringLiteral("Voltage");
inline const QString LowVoltage = QStringLiteral("Low_voltage");
inline const QString HighVoltage = QStringLiteral("High_voltage");
} // namespace ChipField
