// The terminal program's platform layer: see terminal_io.h.
#include "terminal/terminal_io.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#define popen _popen
#define pclose _pclose
#else
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

constexpr int defaultColumns = 80;
constexpr int defaultRows = 24;
// What sh answers for a command it cannot find.
constexpr int commandNotFound = 127;

bool IsTerminal(int descriptor)
{
#ifdef _WIN32
    return _isatty(descriptor) != 0;
#else
    return isatty(descriptor) != 0;
#endif
}

// A positive number from the environment, or the fallback.
int EnvironmentNumber(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    if (value == nullptr)
        return fallback;
    char* end = nullptr;
    const long number = std::strtol(value, &end, 10);
    return end != value && *end == '\0' && number > 0 && number < 100000 ? static_cast<int>(number)
                                                                         : fallback;
}

// The screen's size where standard output is a terminal that reports it:
// Windows tells it only through <windows.h>, so there the environment speaks.
bool TerminalSize(int& columns, int& rows)
{
#ifdef _WIN32
    (void)columns;
    (void)rows;
    return false;
#else
    winsize size = {};
    if (!IsTerminal(STDOUT_FILENO) || ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 ||
        size.ws_col == 0 || size.ws_row == 0)
        return false;
    columns = size.ws_col;
    rows = size.ws_row;
    return true;
#endif
}

bool WriteAll(std::FILE* stream, const std::string& text)
{
    errno = 0;
    const std::size_t written = std::fwrite(text.data(), 1, text.size(), stream);
    return written == text.size() && std::fflush(stream) == 0;
}

// A failed write whose reader went away is no failure of ours. The Windows C
// runtime reports a closed pipe as EINVAL.
bool ReaderWentAway()
{
#ifdef _WIN32
    return errno == EPIPE || errno == EINVAL;
#else
    return errno == EPIPE;
#endif
}

int LineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Hands the text to the pager; false when the pager could not be run at all,
// so that the caller writes the text itself.
bool WriteThroughPager(const char* pager, const std::string& text)
{
    std::fflush(stdout);
    std::FILE* pipe = popen(pager, "w");
    if (pipe == nullptr)
        return false;
    WriteAll(pipe, text); // a pager that quits early is no error
    const int status = pclose(pipe);
#ifdef _WIN32
    return status != commandNotFound;
#else
    return !(WIFEXITED(status) && WEXITSTATUS(status) == commandNotFound);
#endif
}

} // namespace

bool IsStandardOutputTerminal()
{
    return IsTerminal(1);
}
bool IsStandardInputTerminal()
{
    return IsTerminal(0);
}

int ScreenColumns()
{
    int columns = 0;
    int rows = 0;
    if (TerminalSize(columns, rows))
        return columns;
    return EnvironmentNumber("COLUMNS", defaultColumns);
}

int ScreenRows()
{
    int columns = 0;
    int rows = 0;
    if (TerminalSize(columns, rows))
        return rows;
    return EnvironmentNumber("LINES", defaultRows);
}

bool WantsColour(ColourChoice choice)
{
    if (choice != ColourChoice::automatic)
        return choice == ColourChoice::always;
    const char* noColour = std::getenv("NO_COLOR");
    const char* term = std::getenv("TERM");
    return IsStandardOutputTerminal() && (noColour == nullptr || noColour[0] == '\0') &&
           !(term != nullptr && std::strcmp(term, "dumb") == 0);
}

void IgnoreBrokenPipes()
{
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

bool DeliverOutput(const std::string& text, bool mayPage)
{
    if (mayPage && IsStandardOutputTerminal() && LineCount(text) >= ScreenRows()) {
        const char* pager = std::getenv("PAGER");
        if (pager == nullptr)
            pager = "less -R";
        if (pager[0] != '\0' && WriteThroughPager(pager, text))
            return true;
    }
    return WriteAll(stdout, text) || ReaderWentAway();
}
