// flvmdi: injects FLV metadata (duration, sizes, codecs, keyframe index) into a Flash video.
//
//   flvmdi [/k] [/l] "PATH"      (or -k -l; options in any order)
//   flvmdi --help | --version
//
// /k adds the keyframe index, /l an onLastSecond tag. The exit status is 0 on success; any
// failure prints one line to standard error, exits non-zero and leaves the file as it was.
// --help and --version count only as whole arguments before "--"; they print their text to
// standard output and end with 0, whatever else the command line holds.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "flv/FlvFormat.h"
#include "flv/Injector.h"
#include "platform/Version.h"

namespace {

constexpr int kExitBadFile = 1;
constexpr int kExitUsage = 2;
constexpr int kExitSystem = 3;

struct CommandLine {
    flvmdi::InjectOptions options;
    std::optional<std::string> path;
    std::string problem;
    std::string_view infoOption;  // the first --help or --version, answered instead of a run
};

bool isOption(std::string_view arg, char letter) {
    return arg.size() == 2 && (arg[0] == '/' || arg[0] == '-') &&
           (arg[1] == letter || arg[1] == letter - 'a' + 'A');
}

CommandLine parse(int argc, char** argv) {
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && arg == "--")
            optionsEnded = true;
        else if (!optionsEnded && (arg == "--help" || arg == "--version")) {
            if (line.infoOption.empty())
                line.infoOption = arg;
        } else if (!optionsEnded && isOption(arg, 'k'))
            line.options.keyframes = true;
        else if (!optionsEnded && isOption(arg, 'l'))
            line.options.lastSecond = true;
        else if (line.path)
            line.problem = "more than one file given";
        else
            line.path = std::string(arg);
    }
    if (!line.path && line.problem.empty())
        line.problem = "no file given";
    return line;
}

const char kHelp[] =
    "Usage: flvmdi [/k] [/l] [--] FILE.flv\n"
    "  or:  flvmdi --help | --version\n"
    "Injects the metadata of a Flash video (duration, sizes, codecs, data rates) into\n"
    "its onMetaData tag, rewriting FILE.flv in place; a file already up to date is\n"
    "left alone. The switches may also be written -k and -l, in any case and order.\n"
    "\n"
    "  /k         add the keyframe index (keyframes.times, keyframes.filepositions)\n"
    "  /l         add an onLastSecond tag one second before the end\n"
    "  --         what follows is the file, even when it starts with / or -\n"
    "      --help     display this help and exit\n"
    "      --version  output version information and exit\n"
    "\n"
    "Exit status: 0 injected (or already up to date), 1 the file cannot be injected\n"
    "(not FLV, truncated, corrupt, encrypted), 2 a wrong command line, 3 the system\n"
    "refused (permissions, disk full). On any failure the file is left as it was.\n"
    "\n"
    "Report bugs at http://www.vidlark.com/support\n"
    "Full documentation: man flvmdi\n";

// The answer of --help or --version; a standard output that cannot take it is a failure.
int answerInfoOption(std::string_view option) {
    if (option == "--help")
        std::fputs(kHelp, stdout);
    else
        std::printf("flvmdi (%s) %s\n%s", VIDLARK_PRODUCT, VIDLARK_VERSION, VIDLARK_COPYRIGHT);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    std::fputs("flvmdi: write error on standard output\n", stderr);
    return kExitSystem;
}

const char* describe(flvmdi::InjectResult::Kind kind) {
    switch (kind) {
        case flvmdi::InjectResult::Kind::Rewritten:
            return "metadata injected";
        case flvmdi::InjectResult::Kind::UpdatedInPlace:
            return "metadata updated in place";
        case flvmdi::InjectResult::Kind::Unchanged:
            return "metadata already up to date";
    }
    return "";
}

// The file is read through a memory mapping: if another program cuts it short meanwhile, the
// next access to the lost pages raises SIGBUS. Nothing has been renamed or written in place at
// that point (the new file has no name yet), so leaving at once is safe.
void onBusError(int) {
    static const char message[] = "flvmdi: the file was shortened while it was being read\n";
    [[maybe_unused]] const auto n = ::write(STDERR_FILENO, message, sizeof message - 1);
    ::_exit(3);
}

int fail(const std::string& path, const std::string& reason, int status) {
    std::fprintf(stderr, "flvmdi: %s: %s\n", path.c_str(), reason.c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine line = parse(argc, argv);
    if (!line.infoOption.empty())
        return answerInfoOption(line.infoOption);
    if (!line.problem.empty()) {
        std::fprintf(stderr, "flvmdi: %s; usage: flvmdi [/k] [/l] \"FILE.flv\"\n",
                     line.problem.c_str());
        return kExitUsage;
    }
    const std::string& path = *line.path;
    ::signal(SIGBUS, onBusError);
    try {
        const auto result = flvmdi::Injector(line.options).inject(path);
        if (result.recoveredUpdate)
            std::printf("flvmdi: %s: an interrupted earlier update was undone\n", path.c_str());
        if (result.leftoversRemoved > 0)
            std::printf("flvmdi: %s: removed %zu new file(s) left by killed runs\n", path.c_str(),
                        result.leftoversRemoved);
        std::printf("flvmdi: %s: %s (%zu keyframes, %llu bytes)\n", path.c_str(),
                    describe(result.kind), result.keyframes,
                    static_cast<unsigned long long>(result.fileSize));
        return 0;
    } catch (const flvmdi::FlvError& e) {
        return fail(path, e.what(), kExitBadFile);
    } catch (const flvmdi::IoError& e) {
        return fail(path, e.what(), kExitSystem);
    } catch (const std::bad_alloc&) {
        return fail(path, "out of memory", kExitSystem);
    } catch (const std::exception& e) {
        return fail(path, e.what(), kExitSystem);
    }
}
