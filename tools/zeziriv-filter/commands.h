#pragma once

#include <string>
#include <vector>

// Each subcommand gets the arguments after its name and returns the process exit status.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int RunCheckCommand(const std::vector<std::string>& args);
int RunListCommand(const std::vector<std::string>& args);
int RunTransformCommand(const std::vector<std::string>& args);
int RunSimulateCommand(const std::vector<std::string>& args);
int RunPaletteCommand(const std::vector<std::string>& args);

// A whole decimal number in [low, high]; the tool refuses rather than guesses.
bool ParseBounded(const std::string& text, int low, int high, int& value);
// A plain decimal number (digits and a point, no sign or exponent) in [low, high].
bool ParsePlainDecimal(const std::string& text, double low, double high, double& value);

// Prints "zeziriv-filter: MESSAGE" and the subcommand's usage line to stderr; returns
// kExitUsage.
int UsageError(const std::string& message, const char* usage);

// "colour map" or "reference, N members".
std::string DescribeKind(const class CFilter& filter);
