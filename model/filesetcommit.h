// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Replaces a set of files as one, on any file system (only renames within one folder, no links):
//  1. every new content is written and flushed under "<target>.tarnwell-new";
//  2. the undo journal "<first target>.tarnwell-undo" is written and flushed;
//  3. the commit journal "<first target>.tarnwell-commit" is written and flushed: from here on the
//     new set counts as saved;
//  4. for each file: the old target is renamed to "<target>.tarnwell-old", the new file to the target;
//  5. the old files, the commit journal and the undo journal are removed.
// A failure in step 4 renames the undo journal over the commit journal and puts the old files back.
// A commit cut short (a kill, a power cut) is finished or undone by RecoverFileSet, which every
// save and load of the set runs first: with a commit journal it finishes step 4, with an undo
// journal it puts the old files back, without a journal it removes what steps 1 and 2 left. So
// whoever reads the set through RecoverFileSet sees the old set or the new one, never a mix.

// A test hook called before each step (numbered from 1 in the order above, one step per file
// written and per rename): Go does the step, Stop ends the commit there as a kill would (nothing
// more is done, nothing is cleaned up), Fail makes the step fail with EIO.
enum class CommitHookAction { Go, Stop, Fail };
using CommitHook = std::function<CommitHookAction(int step)>;

struct TCommitResult {
    // The new set is in place.
    bool done = false;
    // On failure: errno and the file it concerns.
    int error = 0;
    QString path;
    // On failure: the old set is in place (false only when even putting it back failed; the next
    // RecoverFileSet then finishes or undoes the commit).
    bool oldKept = true;
    // The hook stopped the commit.
    bool stopped = false;
    // Lines for the log: what a recovery run first found and did, leftovers that could not go.
    QStringList log;
};

TCommitResult CommitFileSet(const std::vector<QString>& targets, const std::vector<QByteArray>& contents,
                            const CommitHook& hook = {});

// Finishes or undoes an interrupted commit of `targets` and removes its leftovers, appending to
// `log` what it found and did. Returns false when the set cannot be trusted yet (a rename or
// removal failed); `failure` then says which file and why. `hook`, for tests, is asked before each
// rename that finishes a commit (numbered from 1); anything but Go makes that rename fail with EIO.
bool RecoverFileSet(const std::vector<QString>& targets, QStringList* log, QString* failure,
                    const CommitHook& hook = {});

// The names of the commit's own files for `targets`, for tests and for users who look.
QString NewFileName(const QString& target);
QString OldFileName(const QString& target);
QString CommitJournalName(const std::vector<QString>& targets);
QString UndoJournalName(const std::vector<QString>& targets);
