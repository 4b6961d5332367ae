// Plays the C++Builder command-line tools for tests and the demo. Built as bpr2mak.exe,
// bdsproj2mak.exe, brcc32.exe, make.exe, emake.exe and MSBuild.exe; the name it runs under says
// which tool it is. bdsproj2mak and MSBuild also print the BDS environment variable they see.
//
// Each run appends "tool|working folder|arg|arg..." to the file named by MX_STANDIN_LOG, waits
// MX_STANDIN_WAIT_<TOOL> milliseconds when set (after printing its first line), prints
// MX_STANDIN_LINES_<TOOL> lines of compiler-like output when set (every
// MX_STANDIN_WARNINGS_<TOOL>th of them a compiler warning when that is set), prints the file named
// by MX_STANDIN_TRANSCRIPT_<TOOL> when set (what the real tools would say), writes what the real
// tool would write, and exits with MX_STANDIN_EXIT_<TOOL> (default 0). MX_STANDIN_SPANS names a
// file that gets "START|tool|working folder|ms" and "END|..." lines, the time in milliseconds of
// the system clock, so that a test sees which tools ran at once; with MX_STANDIN_MEET_<TOOL> set
// to N, the tool then waits (30 s at most) until N runs of it have started, as that file tells, so
// that a test of runs at once does not depend on how fast a busy machine starts them.
// MX_STANDIN_BURN_<TOOL> keeps the processor busy that many milliseconds first, as a compiler
// would; make fails as a linker would when a file of the project's LIBFILES is missing. With
// MX_STANDIN_LEAVE_<TOOL> set it first starts a copy of itself that lingers that many milliseconds,
// detached from the tool's console and process group, as a compiler's server would.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string ToolName(const char* argv0) {
  std::string name = fs::path(argv0).filename().string();
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return std::toupper(c); });
  const auto dot = name.find('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string Env(const std::string& name) {
  const char* v = std::getenv(name.c_str());
  return v ? v : "";
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Windows text paths in project files become paths of this machine.
fs::path MachinePath(std::string p) {
#ifndef _WIN32
  std::replace(p.begin(), p.end(), '\\', '/');
#endif
  return fs::path(p);
}

// The value of element `name` of a project, entities decoded. Plain searches, not std::regex:
// its recursion overflows the stack on the long object lists of real projects.
std::string Macro(const std::string& project, const std::string& name) {
  const std::string open = "<" + name;
  for (std::size_t at = project.find(open); at != std::string::npos;
       at = project.find(open, at + 1)) {
    std::size_t i = at + open.size();
    if (i >= project.size() || !std::isspace(static_cast<unsigned char>(project[i]))) continue;
    while (i < project.size() && std::isspace(static_cast<unsigned char>(project[i])))
      ++i;
    if (project.compare(i, 7, "value=\"") != 0) continue;
    const std::size_t end = project.find('"', i + 7);
    if (end == std::string::npos) return "";
    // Each run of white space becomes one blank, as the project's reader sees the list.
    std::string value;
    for (std::size_t c = i + 7; c < end; ++c) {
      const bool space = std::isspace(static_cast<unsigned char>(project[c]));
      if (!space) {
        value += project[c];
      } else if (value.empty() || value.back() != ' ') {
        value += ' ';
      }
    }
    const std::pair<const char*, const char*> entities[] = {
        {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
    for (const auto& [entity, text] : entities) {
      for (std::size_t e = value.find(entity); e != std::string::npos;
           e = value.find(entity, e + std::strlen(text)))
        value.replace(e, std::strlen(entity), text);
    }
    return value;
  }
  return "";
}

// The value of "NAME = value" in a makefile the stand-in generators wrote; "" when none.
std::string MakefileMacro(const std::string& text, const std::string& name) {
  const std::string start = name + " = ";
  for (std::size_t at = text.find(start); at != std::string::npos; at = text.find(start, at + 1)) {
    if (at != 0 && text[at - 1] != '\n') continue;
    const std::size_t end = text.find_first_of("\r\n", at);
    return text.substr(at + start.size(),
                       end == std::string::npos ? std::string::npos : end - at - start.size());
  }
  return "";
}

int Bpr2Mak(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::fprintf(stderr, "bpr2mak: no project file given\n");
    return 1;
  }
  const fs::path project = MachinePath(args.back());
  const std::string text = ReadFile(project);
  if (text.empty()) {
    std::fprintf(stderr, "bpr2mak: cannot read %s\n", project.string().c_str());
    return 1;
  }
  fs::path makefile = project;
  makefile.replace_extension(".MAK");
  std::ofstream out(makefile, std::ios::binary);
  out << "# Makefile written by the stand-in makefile generator from "
      << project.filename().string() << "\r\n";
  for (const char* name : {"VERSION", "PROJECT", "OBJFILES", "LIBFILES", "USERDEFINES", "CFLAG1",
                           "LFLAGS", "PFLAGS"}) {
    out << name << " = " << Macro(text, name) << "\r\n";
  }
  std::printf("Converting %s to %s\n", project.filename().string().c_str(),
              makefile.filename().string().c_str());
  return 0;
}

int Brcc32(const std::vector<std::string>& args) {
  if (args.empty() || !fs::exists(MachinePath(args.back()))) {
    std::fprintf(stderr, "brcc32: cannot open the resource script\n");
    return 1;
  }
  const fs::path script = MachinePath(args.back());
  const std::string text = ReadFile(script);
  fs::path res = script;
  res.replace_extension(".res");
  // An empty 32-bit resource file: the entry that marks the format.
  static const unsigned char kEmpty[32] = {0,    0,    0, 0, 0x20, 0,    0, 0,
                                           0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
  std::ofstream(res, std::ios::binary).write(reinterpret_cast<const char*>(kEmpty), sizeof kEmpty);
  std::printf("Compiling %s: %zu lines\n", script.filename().string().c_str(),
              static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
  return 0;
}

int BdsProj2Mak(const std::vector<std::string>& args) {
  std::string project;
  std::string templateFile;
  for (const auto& a : args) {
    if (a.rfind("-t", 0) == 0) {
      templateFile = a.substr(2);
    } else {
      project = a;
    }
  }
  const fs::path path = MachinePath(project);
  if (!fs::exists(path)) {
    std::fprintf(stderr, "bdsproj2mak: cannot read %s\n", project.c_str());
    return 1;
  }
  fs::path makefile = path.filename();
  makefile.replace_extension(".mak");
  if (!Env("MX_STANDIN_NO_OUTPUT").empty()) return 0;
  std::ofstream out(makefile, std::ios::binary);
  out << "# Makefile written by the stand-in bdsproj2mak from " << path.filename().string()
      << "\r\n";
  out << "PROJECT = " << path.stem().string() << ".exe\r\n";
  if (!templateFile.empty()) out << "# template " << templateFile << "\r\n";
  std::printf("Converting %s to %s\n", path.filename().string().c_str(), makefile.string().c_str());
  return 0;
}

int Make(const std::vector<std::string>& args) {
  fs::path makefile;
  for (const auto& a : args) {
    if (a.rfind("-f", 0) == 0) makefile = MachinePath(a.substr(2));
  }
  const std::string text = ReadFile(makefile);
  if (text.empty()) {
    std::fprintf(stderr, "Fatal: Unable to open makefile %s\n", makefile.string().c_str());
    return 2;
  }
  // The linker needs the libraries the project links: one another project builds must be there.
  if (!Env("MX_STANDIN_LINK_CHECK").empty()) {
    std::istringstream list(MakefileMacro(text, "LIBFILES"));
    for (std::string lib; list >> lib;) {
      if (!fs::exists(MachinePath(lib))) {
        std::printf("Fatal: Unable to open file '%s'\n", lib.c_str());
        return 2;
      }
    }
  }
  const std::string project = MakefileMacro(text, "PROJECT");
  const fs::path output = MachinePath(project.empty() ? "output.exe" : project);
  if (output.has_parent_path()) fs::create_directories(output.parent_path());
  std::ofstream(output, std::ios::binary) << "built from " << makefile.filename().string() << "\n";
  std::printf("Building %s\n", output.string().c_str());
  return 0;
}

void Span(const char* what, const std::string& tool) {
  const std::string spans = Env("MX_STANDIN_SPANS");
  if (spans.empty()) return;
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  std::ofstream(spans, std::ios::app | std::ios::binary)
      << what << "|" << tool << "|" << fs::current_path().string() << "|" << now << "\n";
}

// Waits until `count` runs of the tool have started, as the spans file tells, or 30 s have passed.
void Meet(const std::string& tool, int count) {
  const std::string started = "START|" + tool + "|";
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < until) {
    std::ifstream in(Env("MX_STANDIN_SPANS"), std::ios::binary);
    int runs = 0;
    for (std::string line; std::getline(in, line);)
      runs += line.starts_with(started) ? 1 : 0;
    if (runs >= count) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// Starts this program again as "--linger <ms>", out of the tool's console and process group.
void LeaveLingering(const std::string& milliseconds) {
#ifdef _WIN32
  char self[MAX_PATH];
  if (GetModuleFileNameA(nullptr, self, MAX_PATH) == 0) return;
  std::string command = "\"" + std::string(self) + "\" --linger " + milliseconds;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE,
                     DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup,
                     &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
#else
  const pid_t child = fork();
  if (child == 0) {
    setsid();
    if (fork() == 0) {
      execl("/proc/self/exe", "linger", "--linger", milliseconds.c_str(), nullptr);
    }
    _exit(0);
  }
  if (child > 0) waitpid(child, nullptr, 0);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--linger") {
    if (const std::string log = Env("MX_STANDIN_LOG"); !log.empty())
      std::ofstream(log, std::ios::app | std::ios::binary) << "LINGER|started\n";
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[2])));
    return 0;
  }
  const std::string tool = ToolName(argv[0]);
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (const std::string log = Env("MX_STANDIN_LOG"); !log.empty()) {
    std::ofstream out(log, std::ios::app | std::ios::binary);
    out << tool << "|" << fs::current_path().string();
    for (const auto& a : args)
      out << "|" << a;
    out << "\n";
  }
  Span("START", tool);
  std::printf("%s (stand-in tool)\n", tool.c_str());
  std::fflush(stdout);
  if (const std::string linger = Env("MX_STANDIN_LEAVE_" + tool); !linger.empty())
    LeaveLingering(linger);
  if (const std::string meet = Env("MX_STANDIN_MEET_" + tool); !meet.empty())
    Meet(tool, std::atoi(meet.c_str()));
  if (const std::string wait = Env("MX_STANDIN_WAIT_" + tool); !wait.empty()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(wait.c_str())));
  }
  if (const std::string burn = Env("MX_STANDIN_BURN_" + tool); !burn.empty()) {
    // A compiler's work: the processor kept busy that many milliseconds.
    const auto until =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atoi(burn.c_str()));
    volatile unsigned long spin = 0;
    while (std::chrono::steady_clock::now() < until) {
      for (int i = 0; i < 10000; ++i)
        spin = spin + 1;
    }
  }
  if (const std::string lines = Env("MX_STANDIN_LINES_" + tool); !lines.empty()) {
    // About sixty bytes a line, written in large pieces as a busy compiler's would be.
    const long count = std::atol(lines.c_str());
    const long every = std::atol(Env("MX_STANDIN_WARNINGS_" + tool).c_str());
    std::string chunk;
    char line[160];
    for (long i = 0; i < count; ++i) {
      // A legacy code base built with warnings on: each unit of two hundred gives sixteen
      // warnings in a row as it is compiled.
      const int n =
          every > 0 && i % every == 0
              ? std::snprintf(line, sizeof line,
                              "Warning W8004 src\\unit%03ld.cpp %ld: 'n' is assigned a value "
                              "that is never used\n",
                              i / every / 16 % 200, i % 5000 + 1)
              : std::snprintf(line, sizeof line,
                              "bcc32 -c -O2 -w-par src\\unit%06ld.cpp: compiled, 0 warnings\n", i);
      chunk.append(line, static_cast<std::size_t>(n));
      if (chunk.size() > 60000) {
        std::fwrite(chunk.data(), 1, chunk.size(), stdout);
        chunk.clear();
      }
    }
    std::fwrite(chunk.data(), 1, chunk.size(), stdout);
    std::fflush(stdout);
  }
  if (const std::string transcript = Env("MX_STANDIN_TRANSCRIPT_" + tool); !transcript.empty()) {
    // Passed on in pieces, so that a huge transcript costs the stand-in no memory.
    std::ifstream in(transcript, std::ios::binary);
    char piece[65536];
    while (in.read(piece, sizeof piece) || in.gcount() > 0)
      std::fwrite(piece, 1, static_cast<std::size_t>(in.gcount()), stdout);
    std::fflush(stdout);
  }
  if (tool == "BDSPROJ2MAK" || tool == "MSBUILD") {
    std::printf("BDS=%s\n", std::getenv("BDS") ? std::getenv("BDS") : "(unset)");
    std::fflush(stdout);
  }
  int code = 0;
  if (tool == "MSBUILD") {
    code = 0;
  } else if (tool == "BDSPROJ2MAK") {
    code = BdsProj2Mak(args);
  } else if (tool == "BPR2MAK") {
    code = Bpr2Mak(args);
  } else if (tool == "BRCC32") {
    code = Brcc32(args);
  } else {
    code = Make(args);
  }
  if (const std::string exit = Env("MX_STANDIN_EXIT_" + tool); !exit.empty())
    code = std::atoi(exit.c_str());
  Span("END", tool);
  return code;
}
