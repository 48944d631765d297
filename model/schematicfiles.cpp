// SPDX-License-Identifier: MIT
#include "model/schematicfiles.h"

#include "model/cp1251.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

namespace {

// Loads longer than this keep the first lines of their trace and say so once.
constexpr qsizetype MaxLogLines = 200000;

void PutInt32(char* at, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

int32_t GetInt32(const char* at) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<uint32_t>(static_cast<uint8_t>(at[i])) << (8 * i);
    return static_cast<int32_t>(u);
}

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Why a file of the set could not be read: its own message, or the I/O error's text, naming the
// file when the message does not.
QString ReadFailure(const TFileBytes& f) {
    QString text = f.errorText.isEmpty() ? IoErrorText(f.error) : f.errorText;
    if (!f.path.isEmpty() && !text.contains(f.path)) text += QStringLiteral("\nФайл: %1").arg(f.path);
    return text;
}

QByteArray NativePath(const QString& path) {
    return QFile::encodeName(path);
}

// An open file descriptor, closed on leaving the scope.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void adopt(int fd) {
        reset();
        fd_ = fd;
    }
    // Closes; returns the errno of a failed close, 0 otherwise.
    int reset() {
        int error = 0;
        if (fd_ >= 0 && ::close(fd_) != 0) error = errno;
        fd_ = -1;
        return error;
    }

private:
    int fd_;
};

bool IsChipNumberText(QStringView digits) {
    return !digits.isEmpty() &&
           std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The chip number of a designator "Dn" or "Dn.j", 0 when it is none (or beyond any real count).
int32_t ChipNumberOf(const QString& name) {
    if (!name.startsWith(u'D')) return 0;
    QStringView rest = QStringView(name).mid(1);
    const qsizetype dot = rest.indexOf(u'.');
    const QStringView number = dot < 0 ? rest : rest.left(dot);
    if (!IsChipNumberText(number) || (dot >= 0 && !IsChipNumberText(rest.mid(dot + 1)))) return 0;
    if (number.size() > 9) return 0;
    return number.toInt();
}

// The load's log with its size kept in bounds.
class LoadLog {
public:
    explicit LoadLog(TLoadResult& r) : r_(r) {}
    void Trace(const QString& line) {
        if (r_.log.size() < MaxLogLines) {
            r_.log << line;
        } else if (!cut_) {
            cut_ = true;
            r_.log << QStringLiteral("(журнал загрузки слишком длинный, остальные строки опущены)");
        }
    }
    void Problem(const QString& text) {
        if (r_.problems.size() < MaxLoadProblems) {
            r_.problems << text;
            r_.log << text;
        } else if (r_.problems.size() == MaxLoadProblems) {
            const QString more = QStringLiteral("(остальные сообщения о пропущенных данных опущены)");
            r_.problems << more;
            r_.log << more;
        }
    }

private:
    TLoadResult& r_;
    bool cut_ = false;
};

// The listed nodes of one name in tree order, and how many of them records have taken.
struct ListedNodes {
    std::vector<QStandardItem*> nodes;
    size_t taken = 0;
};

// Places the element of one record; returns its index, or 0 with the reason in `reason`.
int PlaceRecord(Schematic& s, const TElementRecord& rec, QHash<QString, ListedNodes>& listed,
                const TLoadOptions& options, LoadLog& log, QString* reason) {
    if (std::abs(int64_t{rec.x}) > CoordinateLimit || std::abs(int64_t{rec.y}) > CoordinateLimit) {
        *reason = QStringLiteral("координаты (%1, %2) вне пределов %3…%4")
                      .arg(rec.x)
                      .arg(rec.y)
                      .arg(-CoordinateLimit)
                      .arg(CoordinateLimit);
        return 0;
    }
    const auto found = listed.find(rec.name);
    if (found == listed.end() || found->taken == found->nodes.size()) {
        *reason = QStringLiteral("в навигаторе нет неразмещённого элемента с этим именем");
        return 0;
    }
    if (s.isFull()) {
        *reason = QStringLiteral("в схеме уже %1 элементов").arg(MaxElements);
        return 0;
    }
    // Each record takes its own node, placed or not.
    QStandardItem* node = found->nodes[found->taken++];
    TPlacementData data;
    if (!options.placement || !options.placement(node, &data, reason)) {
        if (reason->isEmpty()) *reason = QStringLiteral("элемент такого вида не размещается");
        return 0;
    }
    QStringList placeLog;
    const int index = s.PlaceNode(node, data, options.selectOnCreate, &placeLog);
    if (index == 0) {
        *reason = QStringLiteral("узел навигатора не принимает элемент");
        return 0;
    }
    for (const QString& line : placeLog)
        log.Trace(line);
    if (options.placed) options.placed(index);
    return index;
}

// Places every whole record; returns the element index of each record, 0 for none.
std::vector<int> LoadElements(Schematic& s, const QByteArray& bytes, const TLoadOptions& options,
                              LoadLog& log, TLoadResult& r) {
    // The listed nodes by text, in tree order; placing changes neither the texts nor the order.
    QHash<QString, ListedNodes> listed;
    for (QStandardItem* node : s.navigator().nodesInTreeOrder())
        if (Navigator::imageIndex(node) > Navigator::ImagePlaced) listed[node->text()].nodes.push_back(node);
    const qsizetype count = bytes.size() / ElementRecordSize;
    std::vector<int> elementOf(static_cast<size_t>(count), 0);
    for (qsizetype i = 0; i < count; ++i) {
        const TElementRecord rec = DecodeElementRecord(bytes.constData() + i * ElementRecordSize);
        QString reason;
        const int index = PlaceRecord(s, rec, listed, options, log, &reason);
        if (index == 0) {
            // One line per element: a reason of several lines (the catalogue's file) is joined.
            reason.replace(u'\n', QStringLiteral("; "));
            log.Trace(QStringLiteral("Элемент %1 (запись %2) не размещён: %3")
                          .arg(rec.name)
                          .arg(i + 1)
                          .arg(reason));
            if (r.unplaced.size() < static_cast<size_t>(MaxLoadProblems))
                r.unplaced.push_back({i + 1, rec.name, reason});
            ++r.unplacedCount;
            continue;
        }
        elementOf[static_cast<size_t>(i)] = index;
        s.SetCoord(index, {rec.x, rec.y});
        s.SetReactions(index, rec.reactionLH, rec.reactionHL);
        const TElement& e = s.element(index);
        if (e.kind() == ElementKind::Probe) s.SetOscCount(s.OscCount() + 1);
        log.Trace(QString());
        log.Trace(QStringLiteral("Coord.x %1").arg(rec.x));
        log.Trace(QStringLiteral("Coord.y %1").arg(rec.y));
        log.Trace(QStringLiteral("Width %1").arg(e.Bitmap.width()));
        log.Trace(QStringLiteral("Height %1").arg(e.Bitmap.height()));
        log.Trace(QStringLiteral("Reaction_LH %1").arg(e.Reaction_LH));
        log.Trace(QStringLiteral("Reaction_HL %1").arg(e.Reaction_HL));
    }
    return elementOf;
}

uint64_t PinKey(const TPinRef& pin) {
    return static_cast<uint64_t>(static_cast<uint32_t>(pin.Element)) << 32 | static_cast<uint32_t>(pin.Leg);
}

// Reads the nets; the element numbers in the file are record numbers, mapped by `elementOf`.
// Returns false when the file ends inside a net (its end record missing); that net is not added.
bool LoadNets(Schematic& s, const QByteArray& bytes, const std::vector<int>& elementOf, LoadLog& log) {
    std::unordered_set<uint64_t> used;
    for (const TConns& net : s.Conns())
        for (const TPinRef& pin : net)
            used.insert(PinKey(pin));
    const qsizetype count = bytes.size() / NetRecordSize;
    qsizetype i = 0;
    while (i < count) {
        const auto n = static_cast<qsizetype>(s.Conns().size());
        log.Trace(QStringLiteral("High(Conns) %1").arg(n));
        TConns net;
        bool ended = false;
        while (i < count) {
            const char* at = bytes.constData() + i * NetRecordSize;
            ++i;
            const int32_t record = GetInt32(at);
            const int32_t leg = GetInt32(at + 4);
            if (record == 0) {
                ended = true;
                break;
            }
            const bool known = record >= 1 && static_cast<size_t>(record) <= elementOf.size();
            const TPinRef pin{known ? elementOf[static_cast<size_t>(record - 1)] : 0, leg};
            QString fault;
            if (!known)
                fault = QStringLiteral("такого элемента нет");
            else if (pin.Element == 0)
                fault = QStringLiteral("элемент не размещён");
            else if (pin.Leg < 0 || pin.Leg >= static_cast<int>(s.element(pin.Element).Legs.size()))
                fault = QStringLiteral("такого вывода нет");
            else if (used.count(PinKey(pin)))
                fault = QStringLiteral("вывод уже в цепи");
            if (!fault.isEmpty()) {
                log.Problem(QStringLiteral("Цепь %1: пропущена ссылка на вывод %2 элемента %3: %4")
                                .arg(n)
                                .arg(leg)
                                .arg(record)
                                .arg(fault));
                continue;
            }
            used.insert(PinKey(pin));
            net.push_back(pin);
            log.Trace(QStringLiteral("High(Conns[i]) %1").arg(net.size() - 1));
            log.Trace(
                QStringLiteral("Conns[%1][High(Conns[%1])]=%2=%3").arg(n).arg(pin.Element).arg(pin.Leg));
        }
        if (!ended) return false;
        if (net.size() >= 2) {
            s.AddNet(std::move(net));
        } else {
            for (const TPinRef& pin : net)
                used.erase(PinKey(pin));
            log.Problem(QStringLiteral("Цепь %1 отброшена: в ней %2 вывод(ов), нужно не меньше двух")
                            .arg(n)
                            .arg(net.size()));
        }
    }
    return true;
}

// The first control character of a node's text (tabs count as text), or -1.
int ControlCharacter(QByteArrayView text) {
    for (const char c : text) {
        const auto b = static_cast<uint8_t>(c);
        if ((b < 0x20 && b != '\t') || b == 0x7F) return b;
    }
    return -1;
}

} // namespace

TSchematicFileNames SchematicFileNames(const QString& chosen) {
    const qsizetype slash = chosen.lastIndexOf(u'/');
    const qsizetype nameLength = chosen.size() - (slash + 1);
    const QString base = chosen.left(chosen.size() - std::min<qsizetype>(3, nameLength));
    return {base + QStringLiteral("tsv"), base + QStringLiteral("esv"), base + QStringLiteral("csv")};
}

QString IoErrorText(int error) {
    switch (error) {
    case ENOENT:
        return QStringLiteral("File not found");
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return QStringLiteral("File access denied");
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(error);
    }
}

QByteArray WriteTreeFile(const Navigator& navigator) {
    QByteArray out;
    for (const QStandardItem* node : navigator.nodesInTreeOrder()) {
        out += QByteArray(Navigator::depth(node), '\t');
        out += ToCp1251(node->text());
        out += "\r\n";
    }
    return out;
}

QString ReadTreeFile(QByteArrayView bytes, Navigator& navigator, qsizetype* failedLine) {
    navigator.clear();
    // path[d] is the last node read at depth d, up to the previous node.
    std::vector<QStandardItem*> path;
    qsizetype pos = 0;
    for (qsizetype lineNo = 1; pos < bytes.size(); ++lineNo) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        QByteArrayView line = bytes.sliced(pos, end - pos);
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n' && (pos == end || bytes[pos - 1] == '\r')) ++pos;

        qsizetype level = 0;
        while (level < line.size() && (line[level] == '\t' || line[level] == ' '))
            ++level;
        const auto fail = [&](const QString& error) {
            if (failedLine) *failedLine = lineNo;
            return error;
        };
        if (const int c = ControlCharacter(line.sliced(level)); c >= 0)
            return fail(QStringLiteral("Строка не является узлом дерева: в ней управляющий символ 0x%1")
                            .arg(c, 2, 16, QLatin1Char('0')));
        const QString text = FromCp1251(line.sliced(level));
        const auto previous = static_cast<qsizetype>(path.size()) - 1;
        if (!path.empty() && (level > previous + 1 || level >= MaxTreeDepth))
            return fail(QStringLiteral("Invalid level (%1) for item \"%2\"").arg(level).arg(text));
        const qsizetype depth = path.empty() ? 0 : level;
        QStandardItem* node =
            Navigator::makeNode(text, depth == 0 ? Navigator::ImageGroup : Navigator::ImageListed);
        if (depth == 0)
            navigator.appendRoot(node);
        else
            path[static_cast<size_t>(depth - 1)]->appendRow(node);
        path.resize(static_cast<size_t>(depth) + 1);
        path.back() = node;
    }
    return {};
}

QByteArray EncodeElementRecord(const TElementRecord& record) {
    QByteArray out(ElementRecordSize, '\0');
    char* p = out.data();
    PutInt32(p, record.x);
    PutInt32(p + 4, record.y);
    const QByteArray name = ToCp1251(record.name).left(ElementNameMax);
    p[8] = static_cast<char>(name.size());
    std::memcpy(p + 9, name.constData(), static_cast<size_t>(name.size()));
    PutInt32(p + 32, record.reactionHL);
    PutInt32(p + 36, record.reactionLH);
    return out;
}

TElementRecord DecodeElementRecord(const char* bytes) {
    TElementRecord r;
    r.x = GetInt32(bytes);
    r.y = GetInt32(bytes + 4);
    const int length = std::min<int>(static_cast<uint8_t>(bytes[8]), ElementNameMax);
    r.name = FromCp1251(QByteArrayView(bytes + 9, length));
    r.reactionHL = GetInt32(bytes + 32);
    r.reactionLH = GetInt32(bytes + 36);
    return r;
}

QByteArray WriteElementFile(const Schematic& s) {
    QByteArray out;
    out.reserve(static_cast<qsizetype>(s.ElementCount()) * ElementRecordSize);
    for (int i = 1; i <= s.ElementCount(); ++i) {
        const TElement& e = s.element(i);
        out += EncodeElementRecord({e.Coord.x, e.Coord.y, e.Name, e.Reaction_HL, e.Reaction_LH});
    }
    return out;
}

QByteArray WriteNetFile(const Schematic& s) {
    QByteArray out;
    char record[NetRecordSize];
    const auto put = [&](const TPinRef& pin) {
        PutInt32(record, pin.Element);
        PutInt32(record + 4, pin.Leg);
        out.append(record, NetRecordSize);
    };
    for (const TConns& net : s.Conns()) {
        for (const TPinRef& pin : net)
            put(pin);
        // The end record carries the last pin's leg.
        put({0, net.empty() ? 0 : net.back().Leg});
    }
    return out;
}

QString SaveSchematicFiles(const Schematic& s, const TSchematicFileNames& names, QStringList* log,
                           const CommitHook& hook) {
    const std::vector<QString> targets = {names.tree, names.elements, names.nets};
    const std::vector<QByteArray> contents = {WriteTreeFile(s.navigator()), WriteElementFile(s),
                                              WriteNetFile(s)};
    const QString kept = QStringLiteral("Схема не сохранена; файлы схемы на диске остались прежними.");
    // The tree file speaks with its path, the two record files with the I/O error and the file.
    const auto failure = [&](const QString& path, int error) {
        return path == names.tree
                   ? QStringLiteral("Cannot create file \"%1\". %2").arg(path, SystemReason(error))
                   : IoErrorText(error) + QStringLiteral("\nФайл: %1").arg(path);
    };
    // A folder where a file should go cannot be replaced by it.
    for (const QString& target : targets) {
        struct stat st {};
        if (::stat(NativePath(target).constData(), &st) == 0 && S_ISDIR(st.st_mode))
            return failure(target, EISDIR) + u'\n' + kept;
    }
    QStringList lines;
    QString why;
    const bool recovered = RecoverFileSet(targets, &lines, &why);
    if (log) *log << lines;
    if (!recovered) return why + u'\n' + kept;
    const TCommitResult r = CommitFileSet(targets, contents, hook);
    if (log) *log << r.log;
    if (r.stopped) return QStringLiteral("Сохранение остановлено");
    if (r.done) return {};
    if (r.oldKept) return failure(r.path, r.error) + u'\n' + kept;
    return failure(r.path, r.error) +
           QStringLiteral("\nСхема не сохранена, и прежние файлы не удалось вернуть на место: при следующем "
                          "открытии или сохранении этой схемы сохранение будет завершено или отменено.");
}

TFileBytes ReadFileBytes(const QString& path, qint64 limit) {
    TFileBytes r;
    r.path = path;
    // What is not a regular file is refused before it is opened: opening a FIFO would wait for a
    // writer, reading a device may never end.
    const auto notRegular = [&](const struct stat& st) {
        if (S_ISREG(st.st_mode)) return false;
        if (S_ISDIR(st.st_mode)) {
            r.error = EISDIR;
            return true;
        }
        const QString kind = S_ISFIFO(st.st_mode) ? QStringLiteral("именованный канал (FIFO)")
                             : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? QStringLiteral("устройство")
                             : S_ISSOCK(st.st_mode)                       ? QStringLiteral("сокет")
                                                    : QStringLiteral("особый файл");
        r.errorText =
            QStringLiteral("\"%1\" — не обычный файл, а %2: схема из него не читается").arg(path, kind);
        return true;
    };
    struct stat st {};
    if (::stat(NativePath(path).constData(), &st) != 0) {
        r.error = errno;
        return r;
    }
    if (notRegular(st)) return r;
    Fd fd(::open(NativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
        r.error = errno;
        return r;
    }
    // The name may have been given to something else since the first look.
    if (notRegular(st)) return r;
    QByteArray bytes;
    for (;;) {
        const qint64 room = limit + 1 - bytes.size();
        if (room <= 0) {
            r.errorText = QStringLiteral("Файл \"%1\" больше %2 МБ").arg(path).arg(limit >> 20);
            return r;
        }
        const qsizetype before = bytes.size();
        bytes.resize(before + static_cast<qsizetype>(std::min<qint64>(room, qint64{1} << 20)));
        const ssize_t n = ::read(fd.get(), bytes.data() + before, static_cast<size_t>(bytes.size() - before));
        if (n < 0 && errno == EINTR) {
            bytes.resize(before);
            continue;
        }
        if (n < 0) {
            r.errorText = IoErrorText(errno);
            return r;
        }
        bytes.resize(before + n);
        if (n == 0) break;
    }
    r.bytes = std::move(bytes);
    return r;
}

TLoadResult LoadSchematic(Schematic& s, const std::function<TFileBytes()>& tree,
                          const std::function<TFileBytes()>& elements,
                          const std::function<TFileBytes()>& nets, const TLoadOptions& options) {
    TLoadResult r;
    LoadLog log(r);
    // The failure, the file's name where the message lacks it, and what the schematic holds now.
    const auto stop = [&r](const QString& failure, const QString& loaded) {
        r.error = failure + u'\n' + loaded;
        return r;
    };

    const TFileBytes treeFile = tree();
    if (!treeFile.bytes) {
        s.ReadTree({});
        return stop(ReadFailure(treeFile), QStringLiteral("Схема не загружена: она пуста."));
    }
    qsizetype line = 0;
    const QString treeError = s.ReadTree(*treeFile.bytes, &line);
    // Chips listed later are numbered above every loaded designator.
    for (const QStandardItem* node : s.navigator().nodesInTreeOrder())
        s.RaiseChipCount(ChipNumberOf(node->text()));
    if (!treeError.isEmpty()) {
        QString where = QStringLiteral("Строка %1").arg(line);
        if (!treeFile.path.isEmpty())
            where = QStringLiteral("Файл: %1, строка %2").arg(treeFile.path).arg(line);
        return stop(
            treeError + u'\n' + where,
            QStringLiteral("Загрузка остановлена: в навигаторе узлы до этой строки, элементы и цепи не "
                           "загружены."));
    }
    r.filesRead = 1;

    const TFileBytes elementFile = elements();
    if (!elementFile.bytes)
        return stop(ReadFailure(elementFile),
                    QStringLiteral("Загружен только навигатор: элементы не размещены, цепи не загружены."));
    const std::vector<int> elementOf = LoadElements(s, *elementFile.bytes, options, log, r);
    if (elementFile.bytes->size() % ElementRecordSize != 0) {
        TFileBytes cut = elementFile;
        cut.errorText = QStringLiteral("Read beyond end of file");
        return stop(ReadFailure(cut), QStringLiteral("Файл обрезан: размещены элементы его целых записей, "
                                                     "цепи не загружены."));
    }
    r.filesRead = 2;

    const TFileBytes netFile = nets();
    if (!netFile.bytes)
        return stop(ReadFailure(netFile), QStringLiteral("Элементы размещены, цепи не загружены."));
    TFileBytes cut = netFile;
    if (!LoadNets(s, *netFile.bytes, elementOf, log)) {
        cut.errorText = QStringLiteral("Файл цепей обрезан: у последней цепи нет записи конца");
        return stop(
            ReadFailure(cut),
            QStringLiteral("Элементы размещены, цепи до последней загружены, последняя не загружена."));
    }
    if (netFile.bytes->size() % NetRecordSize != 0) {
        cut.errorText = QStringLiteral("Read beyond end of file");
        return stop(ReadFailure(cut),
                    QStringLiteral("Файл обрезан: элементы размещены, загружены цепи его целых "
                                   "записей."));
    }
    r.complete = true;
    r.filesRead = 3;
    return r;
}

TLoadResult LoadSchematicFiles(Schematic& s, const TSchematicFileNames& names, const TLoadOptions& options) {
    QStringList recovery;
    QString failure;
    if (!RecoverFileSet({names.tree, names.elements, names.nets}, &recovery, &failure)) {
        TLoadResult r;
        s.ReadTree({});
        r.recovery = recovery;
        r.log = recovery;
        r.error = failure + QStringLiteral("\nСхема не загружена: её файлы остались после прерванного "
                                           "сохранения и не приведены в порядок.");
        return r;
    }
    const auto tree = [&names] {
        TFileBytes f = ReadFileBytes(names.tree, MaxTreeFileBytes);
        if (!f.bytes && f.errorText.isEmpty())
            f.errorText =
                QStringLiteral("Cannot open file \"%1\". %2").arg(names.tree, SystemReason(f.error));
        return f;
    };
    TLoadResult r = LoadSchematic(
        s, tree, [&names] { return ReadFileBytes(names.elements, MaxRecordFileBytes); },
        [&names] { return ReadFileBytes(names.nets, MaxRecordFileBytes); }, options);
    r.recovery = recovery;
    r.log = recovery + r.log;
    return r;
}

QStringList UnplacedReport(const TLoadResult& r, qsizetype maxLines) {
    if (r.unplacedCount == 0) return {};
    QStringList lines{QStringLiteral("Не размещены элементы схемы (%1):").arg(r.unplacedCount)};
    const auto shown = std::min<qsizetype>(maxLines, static_cast<qsizetype>(r.unplaced.size()));
    for (qsizetype i = 0; i < shown; ++i) {
        const TUnplacedElement& u = r.unplaced[static_cast<size_t>(i)];
        lines << QStringLiteral("%1 (запись %2): %3").arg(u.name).arg(u.record).arg(u.reason);
    }
    if (r.unplacedCount > shown) lines << QStringLiteral("и ещё %1.").arg(r.unplacedCount - shown);
    lines << QStringLiteral("Их выводы исключены из цепей. Если сохранить схему сейчас, этих элементов в её "
                            "файлах не будет.");
    return lines;
}

TLoadResult LoadSchematicBytes(Schematic& s, const QByteArray& tree, const QByteArray& elements,
                               const QByteArray& nets, const TLoadOptions& options) {
    return LoadSchematic(
        s, [&tree] { return TFileBytes::Of(tree); }, [&elements] { return TFileBytes::Of(elements); },
        [&nets] { return TFileBytes::Of(nets); }, options);
}
