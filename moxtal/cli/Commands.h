#pragma once

#include <string>
#include <vector>

namespace mx::cli {

/// Host configuration shared by every command.
struct THostOptions {
  std::string Registry;           // registry file; empty: the platform default
  std::string Packages;           // package folder; empty: "packages" beside the executable
  std::vector<std::string> Vars;  // NAME=VALUE
  bool ReadBCB6Vars = false;
};

/// Exit statuses: 0 success, 1 a build or validation failed, 2 usage, configuration or input.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

/// Configures the host, registers its own actions and loads the packages.
void StartHost(const THostOptions& options);

struct TRunOptions {
  std::string Script;
  std::vector<std::string> Actions;
  std::string LogFormat = "text";
  bool SaveDynamic = true;
};
int Run(const TRunOptions& options);
int Validate(const std::string& script);

struct TNewOptions {
  std::string Script;
  std::string ActionClass;
  std::string Name;
  std::vector<std::string> Sets;
};
int New(const TNewOptions& options);
int Set(const std::string& script, const std::string& action,
        const std::vector<std::string>& assignments, const std::vector<std::string>& events);
int Show(const std::string& script, const std::string& action, bool json);
int Actions();
int Vars();

}  // namespace mx::cli
