// SPDX-License-Identifier: MIT
#include "tools/batch.h"
#include "tools/batchio.h"
#include "tools/batchschematic.h"

#include "document/schematicdocument.h"
#include "document/schematicimage.h"

namespace {

int Fail(FILE* err, const QString& message) {
    ReportError(err, message);
    return 2;
}

const char* const ImageUsage =
    "usage: tarnwell-batch image FILE OUT.svg|OUT.png|OUT.pdf [--zoom PERCENT] [--bases DIR]";

} // namespace

// image FILE OUT [--zoom PERCENT] [--bases DIR]: draws the schematic as the program's export does
// (its whole used part, at the zoom the workspace lists, 100% by default) and writes it whole to
// OUT, in the format its suffix names.
int BatchImage(const QStringList& args, FILE* out, FILE* err) {
    QStringList files;
    QString bases;
    QString zoomText;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == u"--bases" || args[i] == u"--zoom") {
            QString& value = args[i] == u"--bases" ? bases : zoomText;
            if (!value.isEmpty()) return Fail(err, QStringLiteral("%1 given twice").arg(args[i]));
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return Fail(err, QStringLiteral("%1 needs a value").arg(args[i]));
            value = args[++i];
        } else if (args[i].startsWith(u"--") || files.size() == 2) {
            return Fail(
                err, QStringLiteral("unexpected argument '%1' (%2)").arg(args[i], QLatin1String(ImageUsage)));
        } else {
            files << args[i];
        }
    }
    if (files.size() != 2)
        return Fail(err, QStringLiteral("image takes FILE and OUT (%1)").arg(QLatin1String(ImageUsage)));
    const std::optional<PictureFormat> format = PictureFormatOfPath(files[1]);
    if (!format)
        return Fail(
            err, QStringLiteral("cannot tell the format of '%1': name it .svg, .png or .pdf").arg(files[1]));
    PictureOptions options;
    if (!zoomText.isEmpty()) {
        int32_t percent = 0;
        const NumberFault fault = ReadWholeNumber(zoomText, 30, 200, &percent);
        if (fault != NumberFault::None || percent % 10 != 0)
            return Fail(err,
                        QStringLiteral("--zoom takes 30, 40, ... 200 (percent), not '%1'").arg(zoomText));
        options.scale = percent / 10;
    }

    SchematicDocument document;
    if (!LoadRoutedSchematic(files[0], bases, document, err)) return 2;
    const SchematicPicture picture(document.schematic(), document.grids(), options);
    if (picture.empty())
        return Fail(err, QStringLiteral("%1: nothing to draw (no element, no wire)").arg(files[0]));
    const QByteArray bytes = picture.Encode(*format);
    if (bytes.isEmpty())
        return Fail(err, QStringLiteral("%1: the picture is too large (%2 x %3 pixels)")
                             .arg(files[0])
                             .arg(picture.size().width())
                             .arg(picture.size().height()));
    (void)out;
    return WriteFileWhole(files[1], bytes, err) ? 0 : 1;
}
