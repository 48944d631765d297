// SPDX-License-Identifier: MIT
#include "model/filesetcommit.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

namespace {

QByteArray NativePath(const QString& path) {
    return QFile::encodeName(path);
}

QString Reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool Exists(const QString& path) {
    struct stat st {};
    return ::lstat(NativePath(path).constData(), &st) == 0;
}

// 0 or errno.
int RenamePath(const QString& from, const QString& to) {
    return ::rename(NativePath(from).constData(), NativePath(to).constData()) == 0 ? 0 : errno;
}

// 0 or errno; a file that is not there counts as removed.
int RemovePath(const QString& path) {
    if (::unlink(NativePath(path).constData()) == 0 || errno == ENOENT) return 0;
    return errno;
}

// Writes `bytes` to a new file at `path` (whatever was there goes first; a link there is not
// followed) and flushes it to the disk. 0 or errno.
int WriteFlushed(const QString& path, const QByteArray& bytes) {
    if (const int e = RemovePath(path); e != 0) return e;
    const int fd =
        ::open(NativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    int error = 0;
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0 && error == 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno != EINTR) error = errno;
            continue;
        }
        p += n;
        left -= n;
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

// Flushes the folders' entries (new names, renames); file systems that cannot are left alone.
void SyncFolders(const std::vector<QString>& targets) {
    std::set<QString> folders;
    for (const QString& t : targets)
        folders.insert(QFileInfo(t).absolutePath());
    for (const QString& folder : folders) {
        const int fd = ::open(NativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) continue;
        ::fsync(fd);
        ::close(fd);
    }
}

// A journal: its state and which targets existed before the commit ("1" or "0" per target).
enum class JournalState { Absent, Unreadable, Commit, Undo };
struct Journal {
    JournalState state = JournalState::Absent;
    std::vector<bool> existed;
};

QByteArray JournalText(const char* state, const std::vector<bool>& existed) {
    QByteArray text = state;
    text += ' ';
    for (bool e : existed)
        text += e ? '1' : '0';
    text += '\n';
    return text;
}

Journal ReadJournal(const QString& path, size_t count) {
    Journal j;
    QFile f(path);
    if (!Exists(path)) return j;
    j.state = JournalState::Unreadable;
    if (!f.open(QIODevice::ReadOnly)) return j;
    const QByteArray text = f.read(64);
    const qsizetype space = text.indexOf(' ');
    if (space < 0 || !text.endsWith('\n') || text.size() != space + 1 + static_cast<qsizetype>(count) + 1)
        return j;
    const QByteArray state = text.left(space);
    for (size_t i = 0; i < count; ++i) {
        const char c = text[space + 1 + static_cast<qsizetype>(i)];
        if (c != '0' && c != '1') return j;
        j.existed.push_back(c == '1');
    }
    if (state == "commit")
        j.state = JournalState::Commit;
    else if (state == "undo")
        j.state = JournalState::Undo;
    else
        j.existed.clear();
    return j;
}

QString RenameFailure(const QString& from, const QString& to, int error) {
    return QStringLiteral("Не удалось переименовать \"%1\" в \"%2\": %3").arg(from, to, Reason(error));
}

QString RemoveFailure(const QString& path, int error) {
    return QStringLiteral("Не удалось удалить \"%1\": %2").arg(path, Reason(error));
}

// Completes step 4 from wherever it stopped, as the commit does it: a target still holding its old
// content goes to its old name before the new file takes its place, so an undo can still put it
// back. `hook` is asked before each rename. False with the failure.
bool FinishFiles(const std::vector<QString>& targets, const CommitHook& hook, QString* failure) {
    int step = 0;
    const auto rename = [&](const QString& from, const QString& to) {
        const bool refused = hook && hook(++step) != CommitHookAction::Go;
        if (const int e = refused ? EIO : RenamePath(from, to); e != 0) {
            *failure = RenameFailure(from, to, e);
            return false;
        }
        return true;
    };
    for (const QString& t : targets) {
        const QString fresh = NewFileName(t), old = OldFileName(t);
        if (!Exists(fresh)) continue;
        if (Exists(t) && !Exists(old) && !rename(t, old)) return false;
        if (!rename(fresh, t)) return false;
    }
    return true;
}

// Removes the old files once the new set is in place; what cannot go is only reported (the next
// recovery removes it).
void RemoveOldFiles(const std::vector<QString>& targets, QStringList* log) {
    for (const QString& t : targets)
        if (const int e = RemovePath(OldFileName(t)); e != 0) *log << RemoveFailure(OldFileName(t), e);
}

// Puts the old files back: a kept old file returns to its target, a target that did not exist
// before goes again, the new files go. Each file's decision holds however often it is repeated.
bool UndoFiles(const std::vector<QString>& targets, const std::vector<bool>& existed, QString* failure) {
    for (size_t i = 0; i < targets.size(); ++i) {
        const QString& t = targets[i];
        const QString old = OldFileName(t), fresh = NewFileName(t);
        int e = 0;
        if (Exists(old)) {
            if ((e = RenamePath(old, t)) != 0) {
                *failure = RenameFailure(old, t, e);
                return false;
            }
        } else if (!existed[i] && !Exists(fresh)) {
            // The new file was renamed to the target, which had no old content.
            if ((e = RemovePath(t)) != 0) {
                *failure = RemoveFailure(t, e);
                return false;
            }
        }
        if ((e = RemovePath(fresh)) != 0) {
            *failure = RemoveFailure(fresh, e);
            return false;
        }
    }
    return true;
}

// Removes both journals, the commit journal first (from then on the targets are the set).
bool RemoveJournals(const std::vector<QString>& targets, QString* failure) {
    for (const QString& j : {CommitJournalName(targets), UndoJournalName(targets)})
        if (const int e = RemovePath(j); e != 0) {
            *failure = RemoveFailure(j, e);
            return false;
        }
    return true;
}

// Makes the journal say "undo" in one rename, so a kill while the old files go back leaves a
// journal that finishes the undo.
bool SwitchToUndo(const std::vector<QString>& targets, const std::vector<bool>& existed, QString* failure) {
    const QString undo = UndoJournalName(targets), commit = CommitJournalName(targets);
    if (ReadJournal(undo, targets.size()).state != JournalState::Undo) {
        if (const int e = WriteFlushed(undo, JournalText("undo", existed)); e != 0) {
            *failure = QStringLiteral("Не удалось записать \"%1\": %2").arg(undo, Reason(e));
            return false;
        }
    }
    if (const int e = RenamePath(undo, commit); e != 0) {
        *failure = RenameFailure(undo, commit, e);
        return false;
    }
    SyncFolders(targets);
    return true;
}

bool Undo(const std::vector<QString>& targets, const std::vector<bool>& existed, QString* failure) {
    if (!UndoFiles(targets, existed, failure)) return false;
    SyncFolders(targets);
    return RemoveJournals(targets, failure);
}

} // namespace

QString NewFileName(const QString& target) {
    return target + QStringLiteral(".tarnwell-new");
}

QString OldFileName(const QString& target) {
    return target + QStringLiteral(".tarnwell-old");
}

QString CommitJournalName(const std::vector<QString>& targets) {
    return targets.front() + QStringLiteral(".tarnwell-commit");
}

QString UndoJournalName(const std::vector<QString>& targets) {
    return targets.front() + QStringLiteral(".tarnwell-undo");
}

TCommitResult CommitFileSet(const std::vector<QString>& targets, const std::vector<QByteArray>& contents,
                            const CommitHook& hook) {
    TCommitResult r;
    const size_t n = targets.size();
    int step = 0;
    // Runs the next step through the hook: 0, the step's errno, or -1 when the hook stops here.
    const auto run = [&](const auto& action) -> int {
        const CommitHookAction a = hook ? hook(++step) : CommitHookAction::Go;
        if (a == CommitHookAction::Stop) {
            r.stopped = true;
            return -1;
        }
        return a == CommitHookAction::Fail ? EIO : action();
    };
    const auto fail = [&r](int error, const QString& path) {
        r.error = error;
        r.path = path;
        return r;
    };
    const QString commit = CommitJournalName(targets), undo = UndoJournalName(targets);
    const auto removeWritten = [&] {
        for (const QString& t : targets)
            RemovePath(NewFileName(t));
        RemovePath(undo);
        RemovePath(commit);
    };

    std::vector<bool> existed(n);
    for (size_t i = 0; i < n; ++i)
        existed[i] = Exists(targets[i]);

    for (size_t i = 0; i < n; ++i) {
        const int e = run([&] { return WriteFlushed(NewFileName(targets[i]), contents[i]); });
        if (e < 0) return r;
        if (e != 0) {
            removeWritten();
            return fail(e, targets[i]);
        }
    }
    for (const std::pair<QString, const char*>& journal :
         {std::pair{undo, "undo"}, std::pair{commit, "commit"}}) {
        const int e = run([&] { return WriteFlushed(journal.first, JournalText(journal.second, existed)); });
        if (e < 0) return r;
        if (e != 0) {
            removeWritten();
            return fail(e, journal.first);
        }
    }
    SyncFolders(targets);

    for (size_t i = 0; i < n; ++i) {
        const QString& t = targets[i];
        int e = run([&] { return existed[i] ? RenamePath(t, OldFileName(t)) : 0; });
        if (e == 0) e = run([&] { return RenamePath(NewFileName(t), t); });
        if (e < 0) return r;
        if (e != 0) {
            QString failure;
            r.oldKept = SwitchToUndo(targets, existed, &failure) && Undo(targets, existed, &failure);
            if (!r.oldKept) r.log << failure;
            return fail(e, t);
        }
    }
    SyncFolders(targets);
    r.done = true;

    // The new set is in place: what is left to remove only tidies up (the next recovery removes
    // what stays).
    std::vector<QString> oldFiles;
    for (const QString& t : targets)
        oldFiles.push_back(OldFileName(t));
    for (const std::vector<QString>& files : {oldFiles, {commit}, {undo}}) {
        QString path = files.front();
        const int e = run([&] {
            for (const QString& f : files)
                if (const int error = RemovePath(f); error != 0) {
                    path = f;
                    return error;
                }
            return 0;
        });
        if (e < 0) return r;
        if (e != 0) r.log << RemoveFailure(path, e);
    }
    return r;
}

bool RecoverFileSet(const std::vector<QString>& targets, QStringList* log, QString* failure,
                    const CommitHook& hook) {
    const size_t n = targets.size();
    const QString commit = CommitJournalName(targets), undo = UndoJournalName(targets);
    const Journal journal = ReadJournal(commit, n);
    const QString& name = targets.front();
    if (journal.state == JournalState::Commit) {
        QString why;
        if (FinishFiles(targets, hook, &why)) {
            // The new set is in place: nothing is undone from here on.
            RemoveOldFiles(targets, log);
            if (!RemoveJournals(targets, failure)) return false;
            *log << QStringLiteral("Сохранение схемы \"%1\" было прервано после записи всех файлов: оно "
                                   "завершено, на диске новая схема.")
                        .arg(name);
            return true;
        }
        // A file that cannot be put in place: every old file is still kept, and goes back.
        *log << why;
        if (!SwitchToUndo(targets, journal.existed, failure) || !Undo(targets, journal.existed, failure))
            return false;
        *log << QStringLiteral("Сохранение схемы \"%1\" было прервано и не может быть завершено: оно "
                               "отменено, на диске прежняя схема.")
                    .arg(name);
        return true;
    }
    if (journal.state == JournalState::Undo) {
        if (!Undo(targets, journal.existed, failure)) return false;
        *log << QStringLiteral("Сохранение схемы \"%1\" было прервано: оно отменено, на диске прежняя схема.")
                    .arg(name);
        return true;
    }
    // No commit journal (or one cut short while it was written): the targets are the set. New files
    // left mean a save that never counted; without them what is left comes after a finished one.
    bool uncommitted = false;
    for (const QString& t : targets)
        uncommitted = uncommitted || Exists(NewFileName(t));
    QStringList leftovers;
    std::vector<QString> remove;
    for (const QString& t : targets)
        remove.push_back(NewFileName(t));
    remove.push_back(undo);
    if (journal.state == JournalState::Unreadable) remove.push_back(commit);
    // An old file is only left over while its target is there.
    for (const QString& t : targets)
        if (Exists(t)) remove.push_back(OldFileName(t));
    for (const QString& path : remove) {
        if (!Exists(path)) continue;
        if (const int e = RemovePath(path); e != 0) {
            *failure = RemoveFailure(path, e);
            return false;
        }
        leftovers << QFileInfo(path).fileName();
    }
    if (leftovers.isEmpty()) return true;
    *log << (uncommitted
                 ? QStringLiteral("Сохранение схемы \"%1\" было прервано до записи всех файлов: на диске "
                                  "прежняя схема, удалены остатки (%2).")
                 : QStringLiteral("Сохранение схемы \"%1\" было прервано после записи всех файлов: на "
                                  "диске новая схема, удалены остатки (%2)."))
                .arg(name, leftovers.join(QStringLiteral(", ")));
    return true;
}
