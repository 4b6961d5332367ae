#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <mutex>
#include <thread>

#include "CommandLine.h"
#include "Event.h"
#include "ProcessRunner.h"
#include "StringList.h"
#include "Win32Handle.h"
#include "Win32Text.h"

namespace mx::platform {
namespace {

using win32::THandle;

[[noreturn]] void Fail(const TProcessRequest& request, DWORD code) {
  throw EProcessError("Cannot run \"" + request.Executable + "\": " + win32::ErrorText(code));
}

// Output arrives on two reader threads; one lock keeps the list and the callbacks in order.
class TOutputSink {
 public:
  explicit TOutputSink(const TProcessRequest& request)
      : request_(request),
        outLines_([this](std::string_view l) { AddLine(l); }),
        errLines_([this](std::string_view l) { AddLine(l); }) {}

  void Deliver(bool isErr, std::string_view text) {
    std::lock_guard lock(mutex_);
    const auto& callback = isErr ? request_.OnStdErr : request_.OnStdOut;
    if (callback) callback(text);
    (isErr ? errLines_ : outLines_).Feed(text);
  }

  void Finish(bool isErr) {
    std::lock_guard lock(mutex_);
    (isErr ? errLines_ : outLines_).Flush();
  }

 private:
  void AddLine(std::string_view line) {
    if (request_.OnLine) request_.OnLine(line);
    if (request_.Output) request_.Output->Add(std::string(line));
  }

  const TProcessRequest& request_;
  std::mutex mutex_;
  TLineSplitter outLines_;
  TLineSplitter errLines_;
};

// This program's environment block with `changes` made ("NAME=value" each, an empty string
// after the last); names compare without regard to case, as Windows compares them.
std::wstring ChildEnvironment(
    const std::vector<std::pair<std::string, std::optional<std::string>>>& changes) {
  std::wstring block;
  if (changes.empty()) return block;
  wchar_t* own = ::GetEnvironmentStringsW();
  for (const wchar_t* e = own; e && *e; e += std::wcslen(e) + 1) {
    const std::wstring_view entry(e);
    // Entries of drives' current folders begin with "=", which is not the end of their name.
    const std::wstring_view name = entry.substr(0, entry.find(L'=', 1));
    const bool changed = std::any_of(changes.begin(), changes.end(), [&](const auto& change) {
      return ::CompareStringOrdinal(name.data(), static_cast<int>(name.size()),
                                    win32::Widen(change.first).c_str(), -1, TRUE) == CSTR_EQUAL;
    });
    if (!changed) block.append(entry).push_back(L'\0');
  }
  if (own) ::FreeEnvironmentStringsW(own);
  for (const auto& [name, value] : changes) {
    if (value) block.append(win32::Widen(name + "=" + *value)).push_back(L'\0');
  }
  block.push_back(L'\0');
  return block;
}

void ReadPipe(HANDLE pipe, TOutputSink& sink, bool isErr) {
  char buffer[65536];
  DWORD n = 0;
  while (::ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) {
    sink.Deliver(isErr, std::string_view(buffer, n));
  }
  sink.Finish(isErr);
}

}  // namespace

int RunProcess(const TProcessRequest& request) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  THandle outRead, outWrite, errRead, errWrite;
  if (!::CreatePipe(outRead.Out(), outWrite.Out(), &inherit, 0) ||
      !::CreatePipe(errRead.Out(), errWrite.Out(), &inherit, 0)) {
    Fail(request, ::GetLastError());
  }
  ::SetHandleInformation(outRead.Get(), HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(errRead.Get(), HANDLE_FLAG_INHERIT, 0);
  THandle nul(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                            OPEN_EXISTING, 0, nullptr));

  // The job ends the whole process tree: on a stop request, and for leftovers when the child
  // has exited.
  THandle job(::CreateJobObjectW(nullptr, nullptr));
  if (job.Get() == nullptr) Fail(request, ::GetLastError());
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  ::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul.Get();
  startup.hStdOutput = outWrite.Get();
  startup.hStdError = errWrite.Get();

  std::string commandLine = QuoteCommandLineArgument(request.Executable);
  if (!request.Parameters.empty()) commandLine += " " + request.Parameters;
  std::wstring wideCommand = win32::Widen(commandLine);
  const std::wstring wideDir = win32::Widen(request.WorkingDirectory);

  std::wstring environment = ChildEnvironment(request.Environment);
  PROCESS_INFORMATION info{};
  const auto start = [&] {
    return ::CreateProcessW(nullptr, wideCommand.data(), nullptr, nullptr, TRUE,
                            CREATE_SUSPENDED | CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                            request.Environment.empty() ? nullptr : environment.data(),
                            wideDir.empty() ? nullptr : wideDir.c_str(), &startup, &info);
  };
  // Wine reports ERROR_INTERNAL_ERROR when the new process died while Wine was still starting it,
  // before any of the program's own code ran; it is started once more. A program that cannot
  // start at all fails with an error of its own (not found, not a program), and fails the same
  // way every time.
  if (!start() && (::GetLastError() != ERROR_INTERNAL_ERROR || !start())) {
    Fail(request, ::GetLastError());
  }
  THandle process(info.hProcess);
  THandle thread(info.hThread);
  ::AssignProcessToJobObject(job.Get(), process.Get());
  ::ResumeThread(thread.Get());
  outWrite.Close();
  errWrite.Close();

  TOutputSink sink(request);
  std::thread outReader(ReadPipe, outRead.Get(), std::ref(sink), false);
  std::thread errReader(ReadPipe, errRead.Get(), std::ref(sink), true);

  HANDLE waits[2] = {process.Get(), request.StopEvent
                                        ? static_cast<HANDLE>(request.StopEvent->NativeHandle())
                                        : nullptr};
  const DWORD count = request.StopEvent ? 2 : 1;
  const DWORD which = ::WaitForMultipleObjects(count, waits, FALSE, INFINITE);
  const bool stopped = which == WAIT_OBJECT_0 + 1;

  DWORD exitCode = 0;
  if (stopped) {
    ::TerminateJobObject(job.Get(), kExitCodeTerminated);
    ::WaitForSingleObject(process.Get(), INFINITE);
  } else {
    ::GetExitCodeProcess(process.Get(), &exitCode);
    ::TerminateJobObject(job.Get(), exitCode);
  }
  outReader.join();
  errReader.join();
  return stopped ? kExitCodeTerminated : static_cast<int>(exitCode);
}

}  // namespace mx::platform
