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
#include <cstring>
#include <unordered_set>

namespace {

// Loads longer than this keep the first lines of their trace and say so once.
constexpr qsizetype MaxLogLines = 200000;
constexpr qsizetype MaxProblems = 1000;

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

// Why a file of the set could not be read: its own message, or the I/O error's text.
QString ReadFailure(const TFileBytes& f) {
    return f.errorText.isEmpty() ? IoErrorText(f.error) : f.errorText;
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

// Writes all of `bytes`, then flushes them to the disk; returns errno or 0.
int WriteAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        p += n;
        left -= n;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

// A new file beside `target` with a name nobody uses; its path in `path`. errno or 0.
int CreateBeside(const QString& target, Fd* fd, QString* path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        *path = QStringLiteral("%1.%2-%3.tmp").arg(target).arg(::getpid()).arg(attempt);
        const int f = ::open(NativePath(*path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (f >= 0) {
            fd->adopt(f);
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

void RemovePath(const QString& path) {
    if (!path.isEmpty()) ::unlink(NativePath(path).constData());
}

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
        if (r_.problems.size() < MaxProblems) {
            r_.problems << text;
            r_.log << text;
        } else if (r_.problems.size() == MaxProblems) {
            const QString more = QStringLiteral("(остальные сообщения о пропущенных данных опущены)");
            r_.problems << more;
            r_.log << more;
        }
    }

private:
    TLoadResult& r_;
    bool cut_ = false;
};

void LoadElements(Schematic& s, const QByteArray& bytes, const TLoadOptions& options, LoadLog& log,
                  TLoadResult& r) {
    // The nodes and their texts as the tree was read; placing changes neither.
    QHash<QString, std::vector<QStandardItem*>> byName;
    for (QStandardItem* node : s.navigator().nodesInTreeOrder())
        byName[node->text()].push_back(node);
    const qsizetype count = bytes.size() / ElementRecordSize;
    for (qsizetype i = 0; i < count; ++i) {
        const TElementRecord rec = DecodeElementRecord(bytes.constData() + i * ElementRecordSize);
        const auto found = byName.constFind(rec.name);
        if (found == byName.cend()) continue;
        for (QStandardItem* node : *found) {
            if (Navigator::imageIndex(node) <= Navigator::ImagePlaced) continue;
            if (s.isFull()) {
                log.Problem(QStringLiteral("Элемент %1 не размещён: в схеме уже %2 элементов")
                                .arg(rec.name)
                                .arg(MaxElements));
                continue;
            }
            TPlacementData data;
            QString error;
            if (!options.placement || !options.placement(node, &data, &error)) {
                if (!error.isEmpty())
                    log.Problem(QStringLiteral("Элемент %1 не размещён: %2").arg(rec.name, error));
                continue;
            }
            QStringList placeLog;
            const int index = s.PlaceNode(node, data, options.selectOnCreate, &placeLog);
            if (index == 0) continue;
            for (const QString& line : placeLog)
                log.Trace(line);
            if (options.placed) options.placed(index);
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
    }
    if (bytes.size() % ElementRecordSize != 0) r.error = QStringLiteral("Read beyond end of file");
}

uint64_t PinKey(const TPinRef& pin) {
    return static_cast<uint64_t>(static_cast<uint32_t>(pin.Element)) << 32 | static_cast<uint32_t>(pin.Leg);
}

void LoadNets(Schematic& s, const QByteArray& bytes, LoadLog& log, TLoadResult& r) {
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
        while (i < count) {
            const char* at = bytes.constData() + i * NetRecordSize;
            ++i;
            const TPinRef pin{GetInt32(at), GetInt32(at + 4)};
            if (pin.Element == 0) break;
            QString fault;
            if (pin.Element < 1 || pin.Element > s.ElementCount())
                fault = QStringLiteral("такого элемента нет");
            else if (pin.Leg < 0 || pin.Leg >= static_cast<int>(s.element(pin.Element).Legs.size()))
                fault = QStringLiteral("такого вывода нет");
            else if (used.count(PinKey(pin)))
                fault = QStringLiteral("вывод уже в цепи");
            if (!fault.isEmpty()) {
                log.Problem(QStringLiteral("Цепь %1: пропущена ссылка на вывод %2 элемента %3: %4")
                                .arg(n)
                                .arg(pin.Leg)
                                .arg(pin.Element)
                                .arg(fault));
                continue;
            }
            used.insert(PinKey(pin));
            net.push_back(pin);
            log.Trace(QStringLiteral("High(Conns[i]) %1").arg(net.size() - 1));
            log.Trace(
                QStringLiteral("Conns[%1][High(Conns[%1])]=%2=%3").arg(n).arg(pin.Element).arg(pin.Leg));
        }
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
    if (bytes.size() % NetRecordSize != 0) r.error = QStringLiteral("Read beyond end of file");
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

QString ReadTreeFile(QByteArrayView bytes, Navigator& navigator) {
    navigator.clear();
    // path[d] is the last node read at depth d, up to the previous node.
    std::vector<QStandardItem*> path;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
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
        const QString text = FromCp1251(line.sliced(level));
        const auto previous = static_cast<qsizetype>(path.size()) - 1;
        if (!path.empty() && (level > previous + 1 || level >= MaxTreeDepth))
            return QStringLiteral("Invalid level (%1) for item \"%2\"").arg(level).arg(text);
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

QString SaveSchematicFiles(const Schematic& s, const TSchematicFileNames& names) {
    const std::array<QString, 3> targets = {names.tree, names.elements, names.nets};
    const std::array<QByteArray, 3> contents = {WriteTreeFile(s.navigator()), WriteElementFile(s),
                                                WriteNetFile(s)};
    // The tree file speaks with its path, the two record files with the I/O error alone.
    const auto failure = [&](size_t file, int error) {
        return file == 0
                   ? QStringLiteral("Cannot create file \"%1\". %2").arg(targets[0], SystemReason(error))
                   : IoErrorText(error);
    };
    std::array<QString, 3> temps;
    const auto removeTemps = [&temps] {
        for (const QString& t : temps)
            RemovePath(t);
    };
    for (size_t i = 0; i < 3; ++i) {
        // A folder where a file should go cannot be replaced by it.
        struct stat st {};
        if (::stat(NativePath(targets[i]).constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
            removeTemps();
            return failure(i, EISDIR);
        }
        Fd fd;
        int error = CreateBeside(targets[i], &fd, &temps[i]);
        if (error != 0) temps[i].clear();
        if (error == 0) error = WriteAll(fd.get(), contents[i]);
        if (error == 0) error = fd.reset();
        if (error != 0) {
            removeTemps();
            return failure(i, error);
        }
    }
    // Every old file is kept under a second name until all three new ones are in place, so a
    // failure part-way puts the old set back.
    std::array<QString, 3> backups;
    std::array<bool, 3> existed{};
    for (size_t i = 0; i < 3; ++i) {
        struct stat st {};
        existed[i] = ::lstat(NativePath(targets[i]).constData(), &st) == 0;
        if (!existed[i]) continue;
        for (int attempt = 0; attempt < 100 && backups[i].isEmpty(); ++attempt) {
            const QString b = QStringLiteral("%1.%2-%3.old").arg(targets[i]).arg(::getpid()).arg(attempt);
            if (::link(NativePath(targets[i]).constData(), NativePath(b).constData()) == 0)
                backups[i] = b;
            else if (errno != EEXIST)
                break;
        }
    }
    for (size_t i = 0; i < 3; ++i) {
        if (::rename(NativePath(temps[i]).constData(), NativePath(targets[i]).constData()) == 0) continue;
        const int error = errno;
        for (size_t j = 0; j < i; ++j) {
            if (!backups[j].isEmpty())
                ::rename(NativePath(backups[j]).constData(), NativePath(targets[j]).constData());
            else if (!existed[j])
                RemovePath(targets[j]);
        }
        removeTemps();
        for (const QString& b : backups)
            RemovePath(b);
        return failure(i, error);
    }
    for (const QString& b : backups)
        RemovePath(b);
    return {};
}

TFileBytes ReadFileBytes(const QString& path, qint64 limit) {
    TFileBytes r;
    Fd fd(::open(NativePath(path).constData(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
        r.error = errno;
        return r;
    }
    if (S_ISDIR(st.st_mode)) {
        r.error = EISDIR;
        return r;
    }
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

    const TFileBytes treeFile = tree();
    if (!treeFile.bytes) {
        s.navigator().clear();
        r.error = ReadFailure(treeFile);
        return r;
    }
    r.error = ReadTreeFile(*treeFile.bytes, s.navigator());
    // Chips listed later are numbered above every loaded designator.
    for (const QStandardItem* node : s.navigator().nodesInTreeOrder())
        s.RaiseChipCount(ChipNumberOf(node->text()));
    if (!r.error.isEmpty()) return r;
    r.filesRead = 1;

    const TFileBytes elementFile = elements();
    if (!elementFile.bytes) {
        r.error = ReadFailure(elementFile);
        return r;
    }
    LoadElements(s, *elementFile.bytes, options, log, r);
    if (!r.error.isEmpty()) return r;
    r.filesRead = 2;

    const TFileBytes netFile = nets();
    if (!netFile.bytes) {
        r.error = ReadFailure(netFile);
        return r;
    }
    LoadNets(s, *netFile.bytes, log, r);
    r.complete = r.error.isEmpty();
    if (r.complete) r.filesRead = 3;
    return r;
}

TLoadResult LoadSchematicFiles(Schematic& s, const TSchematicFileNames& names, const TLoadOptions& options) {
    const auto tree = [&names] {
        TFileBytes f = ReadFileBytes(names.tree, MaxTreeFileBytes);
        if (!f.bytes && f.errorText.isEmpty())
            f.errorText =
                QStringLiteral("Cannot open file \"%1\". %2").arg(names.tree, SystemReason(f.error));
        return f;
    };
    return LoadSchematic(
        s, tree, [&names] { return ReadFileBytes(names.elements, MaxRecordFileBytes); },
        [&names] { return ReadFileBytes(names.nets, MaxRecordFileBytes); }, options);
}

TLoadResult LoadSchematicBytes(Schematic& s, const QByteArray& tree, const QByteArray& elements,
                               const QByteArray& nets, const TLoadOptions& options) {
    return LoadSchematic(
        s, [&tree] { return TFileBytes::Of(tree); }, [&elements] { return TFileBytes::Of(elements); },
        [&nets] { return TFileBytes::Of(nets); }, options);
}
