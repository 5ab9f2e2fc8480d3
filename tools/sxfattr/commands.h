// The commands of the tool. Each Add...Command registers one subcommand, its options and its
// action with the application; an action fails by throwing ToolError, which main turns into one
// line on standard error and the exit status.
#pragma once

namespace CLI {
class App;
}

void AddDumpCommand(CLI::App& app);
void AddConvertCommand(CLI::App& app);
void AddImportCommand(CLI::App& app);
void AddCheckCommand(CLI::App& app);
void AddDiffCommand(CLI::App& app);
void AddExportCommand(CLI::App& app);
void AddRecoverCommand(CLI::App& app);
void AddDemoCommand(CLI::App& app);

// Flushes standard output; throws ToolError(kExitInput) when what was printed did not all get out
// (a full disk, a closed pipe), so no command reports success over lost output.
void FinishOutput();
