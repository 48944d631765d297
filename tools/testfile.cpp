// SPDX-License-Identifier: MIT
#include "tools/testfile.h"

#include "model/netlist.h"

#include <QStringDecoder>

#include <optional>

namespace {

// What an element named in a statement must be.
enum class Role { Switch, Read, From };

bool RoleAccepts(Role role, ElementKind kind) {
    const bool read = kind == ElementKind::Probe || kind == ElementKind::Indicator;
    switch (role) {
    case Role::Switch:
        return kind == ElementKind::Switch;
    case Role::Read:
        return read;
    case Role::From:
        return read || kind == ElementKind::Switch;
    }
    return false;
}

const char* RoleText(Role role) {
    switch (role) {
    case Role::Switch:
        return "a switch";
    case Role::Read:
        return "a probe or an indicator";
    case Role::From:
        return "a switch, a probe or an indicator";
    }
    return "";
}

// The 1-based line of the first byte sequence that is not UTF-8 (a sequence cut off at the end
// counts); 0 when every line is UTF-8.
int FirstNonUtf8Line(const QByteArray& bytes) {
    int line = 1;
    for (qsizetype start = 0; start <= bytes.size(); ++line) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) end = bytes.size();
        QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        // The decoder works when its result is taken as a string.
        const QString text = utf8.decode(QByteArrayView(bytes).sliced(start, end - start));
        if (utf8.hasError()) return line;
        start = end + 1;
    }
    return 0;
}

QStringView TrimBlanks(QStringView text) {
    while (!text.isEmpty() && (text.front() == u' ' || text.front() == u'\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == u' ' || text.back() == u'\t'))
        text.chop(1);
    return text;
}

class Reader {
public:
    explicit Reader(const Schematic& s) : s_(s) {}

    TestFile Read(const QString& text);

private:
    // Each reads one field of the statement; on a fault it sets why_ and returns false.
    bool Time(const QString& word, const char* field, TestTime* out);
    bool Level(const QString& word, bool* out);
    bool Element(const QString& name, Role role, int* out);
    // Checks the statement's times against the order of the case and its run, then appends it.
    bool Add(TestStatement st);
    bool Statement(const QStringList& w, int line);
    bool Run(const QStringList& w, int line);
    void StartCase(const QString& name, int line);
    TestCase& Current();
    void EndCase();

    const Schematic& s_;
    QString why_;
    TestFile file_;
    std::optional<TestCase> case_;
    // Of the current case: the start of its last timed statement, its latest time, its run.
    TestTime lastStart_ = 0;
    int lastStartLine_ = 0;
    TestTime latest_ = -1;
    int latestLine_ = 0;
    bool haveRun_ = false;
};

bool Reader::Time(const QString& word, const char* field, TestTime* out) {
    const NumberFault fault = ReadWholeNumber(word, TestTime{0}, MaxTestTime, out);
    if (fault != NumberFault::None) why_ = NumberFaultMessage(fault, QString::fromLatin1(field), word, 0);
    return fault == NumberFault::None;
}

bool Reader::Level(const QString& word, bool* out) {
    if (word != u"0" && word != u"1") {
        why_ = QStringLiteral("a level is 0 or 1, not %1").arg(word);
        return false;
    }
    *out = word == u"1";
    return true;
}

bool Reader::Element(const QString& name, Role role, int* out) {
    *out = UniqueElement(s_, name, &why_);
    if (*out == 0) return false;
    if (RoleAccepts(role, s_.element(*out).kind())) return true;
    why_ = QStringLiteral("%1 is not %2").arg(name, QString::fromLatin1(RoleText(role)));
    return false;
}

TestCase& Reader::Current() {
    if (!case_) StartCase(QString(), 0);
    return *case_;
}

void Reader::StartCase(const QString& name, int line) {
    EndCase();
    case_ = TestCase{name, line, {}, 0, 0};
    lastStart_ = 0;
    lastStartLine_ = 0;
    latest_ = -1;
    latestLine_ = 0;
    haveRun_ = false;
}

void Reader::EndCase() {
    if (!case_) return;
    if (!haveRun_) {
        case_->length = latest_ + 1;
        case_->lengthLine = latestLine_;
    }
    file_.cases.push_back(std::move(*case_));
    case_.reset();
}

bool Reader::Add(TestStatement st) {
    TestCase& c = Current();
    if (st.kind != StatementKind::Delay) {
        if (st.until < st.from) {
            why_ = QStringLiteral("the range ends at %1, before it starts at %2").arg(st.until).arg(st.from);
            return false;
        }
        if (lastStartLine_ != 0 && st.from < lastStart_) {
            why_ = QStringLiteral("time %1 comes before time %2 of line %3 (statements go in time order)")
                       .arg(st.from)
                       .arg(lastStart_)
                       .arg(lastStartLine_);
            return false;
        }
        if (haveRun_ && st.until >= c.length) {
            why_ = QStringLiteral("time %1 is past the run of %2 units (line %3)")
                       .arg(st.until)
                       .arg(c.length)
                       .arg(c.lengthLine);
            return false;
        }
        lastStart_ = st.from;
        lastStartLine_ = st.line;
        if (st.until >= latest_) {
            latest_ = st.until;
            latestLine_ = st.line;
        }
    }
    c.statements.push_back(std::move(st));
    return true;
}

bool Reader::Run(const QStringList& w, int line) {
    TestCase& c = Current();
    if (w.size() != 2) {
        why_ = QStringLiteral("run needs T");
        return false;
    }
    if (haveRun_) {
        why_ = QStringLiteral("a second run for this case (the first is on line %1)").arg(c.lengthLine);
        return false;
    }
    if (!Time(w[1], "run", &c.length)) return false;
    if (latest_ >= c.length) {
        why_ = QStringLiteral("run %1 ends before time %2 of line %3")
                   .arg(c.length)
                   .arg(latest_)
                   .arg(latestLine_);
        return false;
    }
    haveRun_ = true;
    c.lengthLine = line;
    return true;
}

bool Reader::Statement(const QStringList& w, int line) {
    TestStatement st;
    st.line = line;
    st.text = w.join(u' ');
    if (w[0] == u"set") {
        st.kind = StatementKind::Set;
        if (w.size() != 5 || w[3] != u"at") {
            why_ = QStringLiteral("set needs SWITCH 0|1 at T");
            return false;
        }
        if (!Element(w[1], Role::Switch, &st.element) || !Level(w[2], &st.level) ||
            !Time(w[4], "time", &st.from))
            return false;
        st.until = st.from;
        return Add(std::move(st));
    }
    if (w.size() >= 2 && w[1] == u"delay") {
        st.kind = StatementKind::Delay;
        if (w.size() != 6 || (w[4] != u"<=" && w[4] != u">=")) {
            why_ = QStringLiteral("expect delay needs FROM TO <= N or FROM TO >= N");
            return false;
        }
        st.atMost = w[4] == u"<=";
        if (!Element(w[2], Role::From, &st.element) || !Element(w[3], Role::Read, &st.to) ||
            !Time(w[5], "delay", &st.bound))
            return false;
        return Add(std::move(st));
    }
    const QString shape = w.value(2);
    if (shape == u"stable") {
        st.kind = StatementKind::Stable;
        if (w.size() != 8 || w[4] != u"from" || w[6] != u"to") {
            why_ = QStringLiteral("expect stable needs NAME stable 0|1 from T1 to T2");
            return false;
        }
        if (!Element(w[1], Role::Read, &st.element) || !Level(w[3], &st.level) ||
            !Time(w[5], "time", &st.from) || !Time(w[7], "time", &st.until))
            return false;
        return Add(std::move(st));
    }
    if (shape == u"rises" || shape == u"falls") {
        st.kind = StatementKind::Edge;
        st.level = shape == u"rises";
        if (w.size() != 6 || w[3] != u"between") {
            why_ = QStringLiteral("expect %1 needs NAME %1 between T1 T2").arg(shape);
            return false;
        }
        if (!Element(w[1], Role::Read, &st.element) || !Time(w[4], "time", &st.from) ||
            !Time(w[5], "time", &st.until))
            return false;
        return Add(std::move(st));
    }
    st.kind = StatementKind::Level;
    if (w.size() != 5 || w[3] != u"at") {
        why_ = QStringLiteral("expect needs NAME 0|1 at T, NAME stable 0|1 from T1 to T2, "
                              "NAME rises|falls between T1 T2 or delay FROM TO <=|>= N");
        return false;
    }
    if (!Element(w[1], Role::Read, &st.element) || !Level(w[2], &st.level) || !Time(w[4], "time", &st.from))
        return false;
    st.until = st.from;
    return Add(std::move(st));
}

TestFile Reader::Read(const QString& text) {
    const QStringList lines = text.split(u'\n');
    auto fail = [this](int line, const QString& what) {
        file_.ok = false;
        file_.message = QStringLiteral("line %1: %2").arg(line).arg(what);
        file_.cases.clear();
        return file_;
    };
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const StatementLine line = ReadStatementLine(lines[i]);
        if (line.words.isEmpty()) continue;
        if (!line.fault.isEmpty()) return fail(lineNo, line.fault);
        const QStringList& w = line.words;
        bool good = true;
        if (w[0] == u"test") {
            // The name is everything between the quotes that open and end the rest of the line.
            const QStringView rest = TrimBlanks(TrimBlanks(line.text).sliced(4));
            if (rest.size() < 3 || !rest.startsWith(u'"') || !rest.endsWith(u'"'))
                return fail(lineNo, QStringLiteral("test needs a name in double quotes: test \"NAME\""));
            StartCase(rest.sliced(1, rest.size() - 2).toString(), lineNo);
        } else if (w[0] == u"set" || w[0] == u"expect") {
            good = Statement(w, lineNo);
        } else if (w[0] == u"run") {
            good = Run(w, lineNo);
        } else {
            return fail(lineNo, QStringLiteral("unknown statement '%1'").arg(w[0]));
        }
        if (!good) return fail(lineNo, why_);
    }
    EndCase();
    if (file_.cases.empty()) {
        file_.message = QStringLiteral("no statement to test");
        return file_;
    }
    file_.ok = true;
    return file_;
}

} // namespace

TestFile ReadTestFile(const QByteArray& bytes, const Schematic& s) {
    // Stateless: a sequence cut off at the end of the file is an error, not a wait for more.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        TestFile bad;
        bad.message = QStringLiteral("line %1: not UTF-8 text").arg(FirstNonUtf8Line(bytes));
        return bad;
    }
    return Reader(s).Read(text);
}
