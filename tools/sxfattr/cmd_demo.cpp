#include <CLI/CLI.hpp>

#include "commands.h"

void AddDemoCommand(CLI::App& app) {
  CLI::App* cmd = app.add_subcommand("demo", "Run the plug-in through a host's editing session (in progress)");
  (void)cmd;
}
