// SPDX-License-Identifier: MIT
#pragma once

#include "tools/testcheck.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The reports of a test run: TAP version 13 on standard output and JUnit XML for CI systems.

struct CaseResult {
    QString name;
    std::vector<TestFailure> failures;
    double seconds = 0;
};

// "TAP version 13" and the plan "1..N".
QByteArray TapHead(size_t cases);
// "ok N - NAME" or "not ok N - NAME" followed by a YAML block listing every failure (its line,
// statement, expected and seen value and time). "#" and "\" in the name are escaped.
QByteArray TapCase(size_t number, const CaseResult& result);
// A JUnit XML document: <testsuites> holding one <testsuite name="SUITE"> with a <testcase> per
// case and, for a failed one, one <failure> whose message is the first failure and whose text
// lists them all, one a line. `properties` become <property name= value=> entries.
QByteArray JUnitXml(const QString& suite, const std::vector<CaseResult>& results,
                    const std::vector<std::pair<QString, QString>>& properties);
// "line N: STATEMENT: expected E, seen S at T".
QString FailureText(const TestFailure& f);
