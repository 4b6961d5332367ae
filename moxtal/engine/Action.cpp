#include "moxtal/api/Action.h"

#include <algorithm>

#include "moxtal/api/Quoting.h"
#include "moxtal/api/ToolFiles.h"
#include "moxtal/engine/HostContext.h"
#include "platform/CodePage.h"
#include "platform/CommandLine.h"
#include "platform/FileNames.h"
#include "platform/ProcessRunner.h"
#include "platform/StrUtils.h"
#include "platform/WineDrives.h"

namespace mx {
namespace {

// A child process run through the platform runner, output sent to the callback as it arrives.
// The files of its parameters are named the tool's way here, where the command line is built:
// through Wine, by their Windows names in the prefix's drives.
class TMxProcess : public IMxProcess {
 public:
  TMxProcess(TMxProcessParams params, const TToolSetup& setup)
      : params_(std::move(params)),
        setup_(setup),
        files_(TToolFiles::For(StripQuotes(params_.Executable), setup)) {}

  int Run() override { return RunWith({}); }
  int Run(platform::TStringList& output) override {
    return RunWith([&output](std::string_view line) { output.Add(std::string(line)); });
  }
  int Run(const std::function<void(std::string_view)>& onLine) override { return RunWith(onLine); }

  std::string Parameters() override {
    std::string text;
    const std::string& written = params_.Parameters;
    for (std::size_t i = 0; i < written.size(); ++i) {
      const std::size_t end =
          written[i] == '\x1E' ? written.find('\x1E', i + 1) : std::string::npos;
      if (end == std::string::npos) {
        text += written[i];
        continue;
      }
      const auto& [file, quote] = params_.Files.at(std::stoul(written.substr(i + 1, end - i - 1)));
      const std::string name = files_.ToTool(file);
      text += quote == TToolFileQuote::tqNone
                  ? name
                  : DoubleQuoteString(name, quote == TToolFileQuote::tqIfBlank);
      i = end;
    }
    return text;
  }

 private:
  int RunWith(const std::function<void(std::string_view)>& onLine) {
    platform::TProcessRequest request;
    // Tools are often named by a quoted path; the runner wants the path itself.
    request.Executable = StripQuotes(params_.Executable);
    request.Parameters = Parameters();
    request.WorkingDirectory = params_.WorkingDirectory;
    request.Environment = params_.Environment;
    StartThroughWine(request);
    request.StopEvent = params_.StopEvent;
    // Tools write in the code page of the machine they run on; what reaches the log is UTF-8.
    if (onLine) {
      request.OnLine = [&onLine](std::string_view line) {
        if (platform::IsValidUtf8(line)) {
          onLine(line);
        } else {
          onLine(platform::ToolTextToUtf8(line));
        }
      };
    }
    if (params_.Callback && params_.CaptureStdOut) {
      request.OnStdOut = [this](std::string_view text) { params_.Callback->OnStdOutData(text); };
    }
    if (params_.Callback && params_.CaptureStdErr) {
      request.OnStdErr = [this](std::string_view text) { params_.Callback->OnStdErrData(text); };
    }
    return platform::RunProcess(request);
  }

  // A Windows program on another system is started by the Wine loader, named by its Windows
  // name, with the prefix's environment; the loader finds the working folder's Windows name
  // itself.
  void StartThroughWine(platform::TProcessRequest& request) const {
    if (!files_.ThroughWine()) return;
    if (setup_.WineLoader.empty()) {
      throw platform::EProcessError("Cannot run \"" + request.Executable +
                                    "\": it is a Windows program, and Wine was not found (install "
                                    "Wine, or give its loader with --wine PATH)");
    }
    const std::string program =
        platform::QuoteCommandLineArgument(files_.ToTool(request.Executable));
    // A working folder Windows cannot name is not entered: Wine would start the tool in a
    // folder of its own prefix instead, where it would build and write.
    if (!request.WorkingDirectory.empty()) files_.ToTool(request.WorkingDirectory);
    request.Parameters = request.Parameters.empty() ? program : program + " " + request.Parameters;
    request.Executable = setup_.WineLoader;
    for (const auto& change : setup_.WineEnvironment)
      request.Environment.push_back(change);
    // Wine's server and services, started for the prefix by the first program, end by
    // themselves once its last program has; another run may be using them meanwhile.
    request.MayOutlive = [](std::string_view name) { return platform::IsWineServiceProgram(name); };
    // Without it, Wine as Debian ships it now and then ends a tool before it runs.
    request.FixedAddressLayout = true;
  }

  TMxProcessParams params_;
  const TToolSetup& setup_;
  TToolFiles files_;
};

// A status message: the entry opens with the first line (or when it is sent without lines), every
// line goes to the log at once, sending closes it. One that got lines but is never sent closes
// when it goes.
class TStatusMessage : public IMxActionLogMessage {
 public:
  TStatusMessage(IMxActionContext& context, const TCustomMxAction& action)
      : context_(context), action_(action) {}
  ~TStatusMessage() override {
    if (open_ && !sent_) context_.EndLog(entry_);
  }

  void Add(std::string_view line) override {
    Open();
    context_.LogLine(entry_, line);
  }
  void Add(std::string_view line, const TDiagnostics& diagnostics) override {
    Open();
    context_.LogLine(entry_, line, diagnostics);
  }
  void AddStrings(const platform::TStringList& lines) override {
    for (const auto& line : lines)
      Add(line);
  }
  void Send() {
    if (sent_) return;
    Open();
    context_.EndLog(entry_);
    sent_ = true;
  }

 private:
  void Open() {
    if (!open_) entry_ = context_.BeginLog(action_);
    open_ = true;
  }

  IMxActionContext& context_;
  const TCustomMxAction& action_;
  std::uint64_t entry_ = 0;
  bool open_ = false;
  bool sent_ = false;
};

}  // namespace

IMxActionContext& DefaultActionContext() {
  static engine::THostContext context;
  return context;
}

const TClassInfo& TCustomMxAction::StaticClassInfo() {
  static const TClassInfo info("TCustomMxAction", &TQlXMLObject::StaticClassInfo());
  return info;
}

const TClassInfo& TMxAction::StaticClassInfo() {
  static const TClassInfo info("TMxAction", &TCustomMxAction::StaticClassInfo());
  return info;
}

bool TCustomMxAction::Validate(IMxActionValidationError&) {
  return true;
}
void TCustomMxAction::DescribeRequirements(IMxBuildRequirements&) const {}
std::string TCustomMxAction::DescribeTakenProject(const std::string&) const {
  return "its settings";
}

std::vector<std::string> TCustomMxAction::InferSettings(const std::vector<std::string>&) {
  return {};
}
void TCustomMxAction::GetHiddenProperties(platform::TStringList&) const {}
void TCustomMxAction::GetPropertyHelp(platform::TStringList&) const {}
void TCustomMxAction::GetPropertyAlias(platform::TStringList&) const {}
void TCustomMxAction::GetReadOnlyProperties(platform::TStringList&) const {}

std::string TCustomMxAction::ExpandExpression(std::string_view text, bool strict) const {
  return Context().ExpandExpression(text, strict);
}

bool TCustomMxAction::TryExpandExpression(std::string_view label, std::string_view text,
                                          std::string& result, bool strict) const {
  try {
    result = ExpandExpression(text, strict);
    return true;
  } catch (const Exception& e) {
    SendMessage("Error expanding " + std::string(label) + " : " + e.what());
    return false;
  }
}

std::string TCustomMxAction::AbsolutePath(const std::string& path) const {
  namespace machinepath = platform::machinepath;
  if (path.empty()) return path;
  if (machinepath::ToFsPath(path).is_absolute()) return machinepath::Normalise(path);
  return machinepath::Normalise(machinepath::FromFsPath(
      machinepath::ToFsPath(Context().BaseFolder()) / machinepath::ToFsPath(path)));
}

std::shared_ptr<IMxActionLogMessage> TCustomMxAction::CreateStatusMessage() const {
  return std::make_shared<TStatusMessage>(Context(), *this);
}

void TCustomMxAction::SendStatusMessage(const std::shared_ptr<IMxActionLogMessage>& message) const {
  if (auto* status = dynamic_cast<TStatusMessage*>(message.get())) status->Send();
}

void TCustomMxAction::SendMessage(std::string_view line) const {
  IMxActionContext& context = Context();
  const std::uint64_t entry = context.BeginLog(*this);
  context.LogLine(entry, line);
  context.EndLog(entry);
}

void TCustomMxAction::SendMessage(std::string_view line, const TDiagnostics& diagnostics) const {
  IMxActionContext& context = Context();
  const std::uint64_t entry = context.BeginLog(*this);
  context.LogLine(entry, line, diagnostics);
  context.EndLog(entry);
}

int TCustomMxAction::RunProcess(const std::string& executable, const std::string& parameters,
                                bool hideWindow, bool waitForExit,
                                const std::string& workingDirectory, platform::TStringList* output,
                                platform::TEvent* stopEvent) const {
  TMxProcessParams params;
  params.Executable = StripQuotes(executable);
  params.Parameters = parameters;
  params.HideWindow = hideWindow;
  params.WaitForExit = waitForExit;
  params.WorkingDirectory = workingDirectory;
  params.StopEvent = stopEvent;
  TMxProcess process(std::move(params), Context().ToolSetup());
  return output ? process.Run(*output) : process.Run();
}

std::shared_ptr<IMxProcess> TCustomMxAction::CreateMxProcess(TMxProcessParams params) const {
  return std::make_shared<TMxProcess>(std::move(params), Context().ToolSetup());
}

std::shared_ptr<IMxPropertySet> TCustomMxAction::GetPropertySetAPI(std::string_view name) const {
  return Context().FindPropertySet(name);
}

void TCustomMxAction::RegisterDynamicProperty(std::string_view name) {
  const auto same = [&](const std::string& n) { return platform::SameText(n, name); };
  if (std::none_of(dynamicProperties_.begin(), dynamicProperties_.end(), same)) {
    dynamicProperties_.emplace_back(name);
  }
}

void TCustomMxAction::UnRegisterDynamicProperty(std::string_view name) {
  std::erase_if(dynamicProperties_,
                [&](const std::string& n) { return platform::SameText(n, name); });
}

TMxScript& TCustomMxAction::AddScript(std::string_view name) {
  if (TMxScript* existing = GetScriptByName(name)) return *existing;
  scripts_.push_back(std::make_unique<TMxScript>(std::string(name)));
  InitialiseScriptParams(*scripts_.back());
  return *scripts_.back();
}

TMxScript* TCustomMxAction::GetScriptByName(std::string_view name) {
  for (auto& s : scripts_) {
    if (platform::SameText(s->Name(), name)) return s.get();
  }
  return nullptr;
}

void TCustomMxAction::InitialiseScriptParams(TMxScript& script) {
  script.ClearParams();
}

void TCustomMxAction::ExecuteScript(TMxScript& script) {
  Context().ExecuteScript(*this, script);
}

}  // namespace mx
