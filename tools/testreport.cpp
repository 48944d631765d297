// SPDX-License-Identifier: MIT
#include "tools/testreport.h"

#include <QXmlStreamWriter>

namespace {

// A YAML single-quoted scalar: only the quote itself needs escaping (doubled).
QString Quoted(const QString& text) {
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString Seconds(double seconds) {
    return QString::number(seconds, 'f', 3);
}

} // namespace

QString FailureText(const TestFailure& f) {
    return QStringLiteral("line %1: %2: expected %3, seen %4 at %5")
        .arg(f.line)
        .arg(f.statement, f.expected, f.seen, f.at);
}

QByteArray TapHead(size_t cases) {
    return "TAP version 13\n1.." + QByteArray::number(static_cast<qulonglong>(cases)) + '\n';
}

QByteArray TapCase(size_t number, const CaseResult& result) {
    QString name = result.name;
    name.replace(u'\\', QStringLiteral("\\\\")).replace(u'#', QStringLiteral("\\#"));
    QString out = QStringLiteral("%1 %2 - %3\n")
                      .arg(result.failures.empty() ? QStringLiteral("ok") : QStringLiteral("not ok"))
                      .arg(number)
                      .arg(name);
    if (!result.failures.empty()) {
        out += QStringLiteral("  ---\n  failures:\n");
        for (const TestFailure& f : result.failures)
            out += QStringLiteral("    - line: %1\n      statement: %2\n      expected: %3\n      seen: %4\n"
                                  "      at: %5\n")
                       .arg(f.line)
                       .arg(Quoted(f.statement), Quoted(f.expected), Quoted(f.seen), Quoted(f.at));
        out += QStringLiteral("  ...\n");
    }
    return out.toUtf8();
}

QByteArray JUnitXml(const QString& suite, const std::vector<CaseResult>& results,
                    const std::vector<std::pair<QString, QString>>& properties) {
    size_t failed = 0;
    double seconds = 0;
    for (const CaseResult& r : results) {
        failed += r.failures.empty() ? 0 : 1;
        seconds += r.seconds;
    }
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("testsuites"));
    xml.writeAttribute(QStringLiteral("tests"), QString::number(results.size()));
    xml.writeAttribute(QStringLiteral("failures"), QString::number(failed));
    xml.writeAttribute(QStringLiteral("errors"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("time"), Seconds(seconds));
    xml.writeStartElement(QStringLiteral("testsuite"));
    xml.writeAttribute(QStringLiteral("name"), suite);
    xml.writeAttribute(QStringLiteral("tests"), QString::number(results.size()));
    xml.writeAttribute(QStringLiteral("failures"), QString::number(failed));
    xml.writeAttribute(QStringLiteral("errors"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("skipped"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("time"), Seconds(seconds));
    xml.writeStartElement(QStringLiteral("properties"));
    for (const auto& [name, value] : properties) {
        xml.writeStartElement(QStringLiteral("property"));
        xml.writeAttribute(QStringLiteral("name"), name);
        xml.writeAttribute(QStringLiteral("value"), value);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    for (const CaseResult& r : results) {
        xml.writeStartElement(QStringLiteral("testcase"));
        xml.writeAttribute(QStringLiteral("name"), r.name);
        xml.writeAttribute(QStringLiteral("classname"), suite);
        xml.writeAttribute(QStringLiteral("time"), Seconds(r.seconds));
        if (!r.failures.empty()) {
            QStringList lines;
            for (const TestFailure& f : r.failures)
                lines << FailureText(f);
            xml.writeStartElement(QStringLiteral("failure"));
            xml.writeAttribute(QStringLiteral("message"), lines.front());
            xml.writeAttribute(QStringLiteral("type"), QStringLiteral("expectation"));
            xml.writeCharacters(lines.join(u'\n'));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return out;
}
