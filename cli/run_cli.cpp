// The command-line program as a function of its arguments: every failure ends as one line
// on the error stream and an exit status.
#include "run_cli.h"

#include "arguments.h"
#include "compare_command.h"
#include "file_commands.h"
#include "identify_command.h"
#include "layout_commands.h"
#include "verify_command.h"

#include <new>

// split, merge and verify, of parts or of a board's chips.
static int runOverFiles(const Request& request, std::ostream& out, std::ostream& err)
{
    bool board = !request.layout.empty() || !request.board.empty();
    if (request.command == Command::Verify)
        return board ? verifyLayoutFiles(request, out) : verifyFiles(request, out);
    if (request.command == Command::Split)
        board ? splitLayoutFiles(request, out) : splitFiles(request, out, err);
    else
        board ? mergeLayoutFiles(request, out, err) : mergeFiles(request, out, err);
    return 0;
}

static int runCommand(const std::vector<std::string>& arguments, std::ostream& out,
                      std::ostream& err)
{
    try {
        Request request = parseArguments(arguments);
        switch (request.command) {
        case Command::Help:    out << usageText(); break;
        case Command::Version: out << "kestrum-cli " KESTRUM_VERSION "\n"; break;
        case Command::Boards:  printBoards(out); break;
        case Command::Swap:    swapFile(request, out); break;
        case Command::Identify:
            return identifyParts(request.parts, request.cpu, request.verbose, out, err);
        case Command::Split:
        case Command::Merge:
        case Command::Verify:  return runOverFiles(request, out, err);
        case Command::Compare: return compareFiles(request, out);
        }
        return 0;
    } catch (const LayoutError& error) {
        err << "kestrum-cli: " << error.what() << '\n';
        return 2;
    } catch (const UsageError& error) {
        err << "kestrum-cli: " << error.what() << "; try 'kestrum-cli --help'\n";
        return 2;
    } catch (const std::bad_alloc&) {
        err << "kestrum-cli: not enough memory\n";
        return 1;
    } catch (const std::exception& error) {   // a FileRefusal, or what the library threw
        err << "kestrum-cli: " << error.what() << '\n';
        return 1;
    }
}

// What was printed must have reached its reader, as GNU tools check at exit: a report of
// checksums lost to a full disk is a failure like any other.
int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    int status = runCommand(arguments, out, err);
    if (!out.flush()) {
        err << "kestrum-cli: cannot write standard output\n";
        return status == 0 ? 1 : status;
    }
    return status;
}
