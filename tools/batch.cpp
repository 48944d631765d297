// SPDX-License-Identifier: MIT
#include "tools/batch.h"
#include "tools/batchio.h"

namespace {

const char* const Usage =
    "usage: tarnwell-batch route FILE [--bases DIR]\n"
    "       tarnwell-batch run FILE --units N [--bases DIR] [--vcd FILE] [--csv FILE]\n"
    "       tarnwell-batch test FILE TESTFILE [--bases DIR] [--junit FILE] [--vcd FILE]\n"
    "       tarnwell-batch image FILE OUT.svg|OUT.png|OUT.pdf [--zoom PERCENT] [--bases DIR]\n"
    "       tarnwell-batch --help\n"
    "FILE is a netlist, or a schematic file set named by its .tsv file (loaded\n"
    "with the catalogue of DIR, by default the bases/ beside the program)\n"
    "A netlist's edit lines (connect, disconnect, removenet, delete, undo, redo)\n"
    "apply in file order after its element and net lines, and the wires are routed\n"
    "once at the end: undo takes back the latest edit line not yet taken back, redo\n"
    "makes the latest one taken back again, so a file acts as the same file\n"
    "without the lines it leaves undone\n"
    "run --vcd and --csv also write every probe's transitions as a value change\n"
    "dump (1 ns a unit) and as rows of time,probe,level\n"
    "test checks FILE against the statements of TESTFILE and prints TAP; exit\n"
    "status 0 all cases passed, 1 some failed, 2 bad arguments or input\n"
    "image draws the schematic's used part as the program's export does, at the\n"
    "workspace zoom PERCENT (30 to 200 in steps of 10, by default 100)\n";

} // namespace

int BatchMain(const QStringList& args, FILE* out, FILE* err) {
    const QString command = args.value(0);
    if (command == u"--help") return WriteOutput(out, Usage, err) ? 0 : 1;
    if (command == u"route") return BatchRoute(args.mid(1), out, err);
    if (command == u"run") return BatchRun(args.mid(1), out, err);
    if (command == u"test") return BatchTest(args.mid(1), out, err);
    if (command == u"image") return BatchImage(args.mid(1), out, err);
    ReportError(err, command.isEmpty() ? QStringLiteral("no command")
                                       : QStringLiteral("unknown command '%1'").arg(command));
    std::fputs(Usage, err);
    return 2;
}
