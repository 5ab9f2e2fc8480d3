// sxfattr: show, convert, import, check, compare and export the SXF attribute sections of
// drawing files, and run the demo of the plug-in. Data goes to standard output, every message to standard
// error.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <new>
#include <string>

#include "commands.h"
#include "exports/version.h"
#include "platform/exceptions.h"
#include "section_loader.h"
#include "tool_error.h"

namespace {

int Fail(int status, const std::string& message) {
  std::cout.flush();
  std::cerr << "sxfattr: " << message << '\n';
  return status;
}

// Usage errors print one line like every other error; the full usage is one --help away.
int UsageError(const CLI::ParseError& e) {
  std::string message = e.what();
  if (message.empty()) message = e.get_name();
  return Fail(kExitUsage, message + " (see sxfattr --help)");
}

std::string VersionText() {
  return std::string("sxfattr ") + SXF_TOOL_VERSION + " (plug-in " + SxfAttrVersion() + ")";
}

}  // namespace

void FinishOutput() {
  std::cout.flush();
  if (!std::cout) throw ToolError(kExitInput, "cannot write to standard output");
}

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  CLI::App app{
      "Show, convert, import, check, compare and export the SXF attribute sections of drawing files.",
      "sxfattr"};
  app.require_subcommand(1, 1);
  app.set_version_flag("--version", VersionText,
                       "Print the versions of the tool and of the plug-in and exit");
  app.footer(
      "Exit status: 0 success, 1 an input cannot be read or an output not written, 2 usage error, 3 check "
      "found problems or diff found differences.");
  AddDumpCommand(app);
  AddConvertCommand(app);
  AddImportCommand(app);
  AddCheckCommand(app);
  AddDiffCommand(app);
  AddExportCommand(app);
  AddRecoverCommand(app);
  AddDemoCommand(app);

  try {
    // Without this, a misspelt command reads as a stray argument and the message says only that
    // a command is missing.
    const auto named = [&](const CLI::App* sub) { return sub->check_name(argv[1]); };
    if (argc > 1 && argv[1][0] != '-' && app.get_subcommands(named).empty()) {
      return Fail(kExitUsage, std::string("unknown command \"") + argv[1] + "\" (see sxfattr --help)");
    }
    app.parse(argc, argv);
    FinishOutput();
    return kExitOk;
  } catch (const CLI::Success& e) {
    return app.exit(e);  // --help and --version, printed on standard output
  } catch (const CLI::ParseError& e) {
    return UsageError(e);
  } catch (const ToolError& e) {
    return Fail(e.Status(), e.what());
  } catch (const std::bad_alloc&) {
    return Fail(kExitInput, "out of memory");
  } catch (const CException& e) {
    return Fail(kExitInput, std::string("unexpected ") + e.what());
  } catch (const std::exception& e) {
    return Fail(kExitInput, e.what());
  }
}
