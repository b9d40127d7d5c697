// The terminal program's command line: see command_line.h.
#include "terminal/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "terminal/commands.h"
#include "terminal/interactive.h"
#include "terminal/terminal_io.h"

namespace {

const char* const optionsWithValue[] = {"--rules",    "--color", "-c",
                                        "--category", "--seed",  "--width"};
const char* const flags[] = {"-h", "--help", "--version", "--json", "--count", "--body"};
const char* const commandsWithDashWords[] = {"find", "filter", "roll"};

bool IsOneOf(const std::string& argument, const char* const* begin, const char* const* end)
{
    return std::any_of(begin, end, [&argument](const char* name) { return argument == name; });
}

bool TakesValue(const std::string& argument)
{
    return IsOneOf(argument, std::begin(optionsWithValue), std::end(optionsWithValue));
}

// An option of the program as written: a flag, or a long option with its
// value after '='.
bool IsOptionWithoutNextValue(const std::string& argument)
{
    if (IsOneOf(argument, std::begin(flags), std::end(flags)))
        return true;
    const std::size_t equals = argument.find('=');
    return argument.compare(0, 2, "--") == 0 && equals != std::string::npos &&
           TakesValue(argument.substr(0, equals));
}

// What one run of the program was asked for.
struct Request {
    std::string rules;
    std::string colour = "auto";
    bool json = false;
    std::string category;
    std::vector<std::string> words;
    bool count = false;
    bool bodies = false;
    std::string seed;
    int width = -1;
};

const char programDescription[] =
    "vellum: the Vellum Rules compendium and dice roller in a terminal. Without a command, on a "
    "terminal, it opens the interactive browser.";

const char programFooter[] =
    "Exit status: 0 when something was found (or rolled), 1 when nothing was found, 2 for a "
    "usage error or a bad dice roll, 3 when the rules data cannot be read or is damaged.\n\n"
    "Examples:\n"
    "  vellum list Feats\n"
    "  vellum show Fireburst\n"
    "  vellum find fire -cold\n"
    "  vellum filter -c Monsters --body dragon\n"
    "  vellum roll 4d6-1 x6";

void AddRulesOption(CLI::App& command, Request& request)
{
    command
        .add_option("--rules", request.rules,
                    "Read the rules from FILE, a packed resource (vellumpack pack) or a program "
                    "carrying one, instead of the built-in rules")
        ->type_name("FILE");
}

void AddOutputOptions(CLI::App& command, Request& request, bool colour)
{
    AddRulesOption(command, request);
    command.add_flag("--json", request.json, "Write JSON for scripts");
    if (colour)
        command
            .add_option("--color", request.colour,
                        "Mark headings, titles and links: auto (on a terminal, unless NO_COLOR "
                        "is set), always or never")
            ->type_name("WHEN")
            ->check(CLI::IsMember({"auto", "always", "never"}));
}

void AddCategoryOption(CLI::App& command, Request& request, const char* what)
{
    command.add_option("-c,--category", request.category, what)->type_name("CATEGORY");
}

ColourChoice ChosenColour(const std::string& colour)
{
    if (colour == "always")
        return ColourChoice::always;
    if (colour == "never")
        return ColourChoice::never;
    return ColourChoice::automatic;
}

// The seed as a dice dialog takes it: a number that fits 32 bits.
bool ReadSeed(const std::string& text, std::uint32_t& seed)
{
    if (text.empty() || text.size() > 10 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const unsigned long long value = std::stoull(text);
    if (value > 0xFFFFFFFFull)
        return false;
    seed = static_cast<std::uint32_t>(value);
    return true;
}

int RunRoll(const Request& request, const OutputChoices& choices, std::string& out)
{
    std::uint32_t seed = SeedFromClock();
    if (!request.seed.empty() && !ReadSeed(request.seed, seed)) {
        Complain("--seed takes a number from 0 to 4294967295");
        return exitUsage;
    }
    return RollNotation(request.words, seed, choices, out);
}

// The command chosen, over rules already installed.
int RunCommand(const std::string& name, const Request& request, const OutputChoices& choices,
               std::string& out)
{
    int category = -1;
    if (!ResolveCategory(request.category, category))
        return exitUsage;
    if (name == "categories")
        return ListCategories(choices, out);
    if (name == "list")
        return ListTitles(category, request.count, choices, out);
    if (name == "show")
        return ShowEntries(request.words, category, choices, out);
    if (name == "find")
        return FindEntries(request.words, category, choices, out);
    return FilterEntries(request.words, category, request.bodies, choices, out);
}

int ParseFailure(const CLI::App& app, const CLI::ParseError& error)
{
    const int code = app.exit(error);
    return code == 0 ? exitFound : exitUsage;
}

} // namespace

std::vector<std::string> SeparateDashWords(const std::vector<std::string>& arguments)
{
    std::size_t command = 0;
    while (command < arguments.size() && arguments[command].size() > 1 &&
           arguments[command][0] == '-')
        command += TakesValue(arguments[command]) ? 2 : 1;
    if (command >= arguments.size() ||
        !IsOneOf(arguments[command], std::begin(commandsWithDashWords),
                 std::end(commandsWithDashWords)))
        return arguments;
    std::vector<std::string> options(arguments.begin(),
                                     arguments.begin() + static_cast<std::ptrdiff_t>(command) + 1);
    std::vector<std::string> words;
    for (std::size_t k = command + 1; k < arguments.size(); ++k) {
        const std::string& argument = arguments[k];
        if (argument == "--") {
            words.insert(words.end(), arguments.begin() + static_cast<std::ptrdiff_t>(k) + 1,
                         arguments.end());
            break;
        }
        if (TakesValue(argument)) {
            options.push_back(argument);
            if (k + 1 < arguments.size())
                options.push_back(arguments[++k]);
        } else if (IsOptionWithoutNextValue(argument)) {
            options.push_back(argument);
        } else {
            words.push_back(argument);
        }
    }
    if (!words.empty()) {
        options.emplace_back("--");
        options.insert(options.end(), words.begin(), words.end());
    }
    return options;
}

int RunVellum(int argc, const char* const* argv, const BuiltInImage& builtIn)
{
    IgnoreBrokenPipes();
    Request request;
    CLI::App app{programDescription, "vellum"};
    app.set_version_flag("--version", std::string("vellum ") + VELLUM_VERSION);
    app.require_subcommand(0, 1);
    AddRulesOption(app, request);

    CLI::App* categories = app.add_subcommand("categories", "List the categories in their order");
    AddOutputOptions(*categories, request, false);

    CLI::App* list = app.add_subcommand(
        "list", "List the titles of a category, or of every category, in their order");
    list->add_option("category", request.category, "The category (its name, or the start of it)")
        ->type_name("CATEGORY");
    list->add_flag("--count", request.count, "Write how many entries instead");
    AddOutputOptions(*list, request, true);

    CLI::App* show = app.add_subcommand("show", "Show entries as the reading view does");
    show->add_option("title", request.words,
                     "A title, without regard to case; every entry of that title is shown")
        ->required()
        ->type_name("TITLE");
    AddCategoryOption(*show, request, "Only entries of this category");
    show->add_option("--width", request.width,
                     "Wrap at this many columns (0: not at all; default: the terminal's width)")
        ->type_name("COLUMNS")
        ->check(CLI::Range(0, 100000));
    AddOutputOptions(*show, request, true);
    show->footer("When standard output is a terminal and the text is longer than the screen, it "
                 "goes through $PAGER (default: less -R). Exit status 1 when a title names no "
                 "entry; the closest titles are suggested.");

    CLI::App* find =
        app.add_subcommand("find", "Search the titles and bodies as the full-body search does");
    find->add_option("words", request.words,
                     "Every word must occur in the title, or else in the body of the first entry "
                     "of that title; a word after '-' must not (case folded for A to Z only)")
        ->required()
        ->type_name("WORD");
    AddCategoryOption(*find, request, "Search only this category (default: every category)");
    AddOutputOptions(*find, request, true);
    find->footer("Example: vellum find -c Spells fire -cold");

    CLI::App* filter =
        app.add_subcommand("filter", "Narrow the titles as the type-ahead filter does");
    filter
        ->add_option("words", request.words,
                     "Every word must occur in the title (with --body: in the title, or else in "
                     "the body of the first entry of that title); case folded for A to Z only")
        ->required()
        ->type_name("WORD");
    AddCategoryOption(*filter, request, "Filter only this category (default: every category)");
    filter->add_flag("--body", request.bodies, "Look in the bodies too");
    AddOutputOptions(*filter, request, true);

    CLI::App* roll = app.add_subcommand("roll", "Roll dice as the dice dialog does");
    roll->add_option("rolls", request.words,
                     "Dice notation: [COUNT]dSIDES[+MOD|-MOD] [xTIMES], e.g. d20, 3d6+2, "
                     "4d6-1 x6, 2d8 x3; dice of 2, 3, 4, 6, 8, 10, 12, 20 or 100 sides; count and "
                     "times 1 to 999, modifier -999 to 999")
        ->required()
        ->type_name("ROLL");
    roll->add_option("--seed", request.seed,
                     "Seed the generator as a dice dialog seeded with N (0 to 4294967295); "
                     "default: the clock")
        ->type_name("N");
    AddOutputOptions(*roll, request, false);
    // Last, so that the commands do not take it over.
    app.footer(programFooter);

    std::vector<std::string> arguments =
        SeparateDashWords(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    std::reverse(arguments.begin(), arguments.end());
    try {
        app.parse(arguments);
    } catch (const CLI::ParseError& error) {
        return ParseFailure(app, error);
    }

    const std::vector<CLI::App*> chosen = app.get_subcommands();
    const std::string command = chosen.empty() ? std::string() : chosen.front()->get_name();
    if (command.empty() && !(IsStandardInputTerminal() && IsStandardOutputTerminal())) {
        Complain("give a command: categories, list, show, find, filter or roll (vellum --help "
                 "tells more)");
        return exitUsage;
    }
    std::string error;
    if ((command != "roll" || !request.rules.empty()) &&
        !InstallRules(request.rules, builtIn, error)) {
        Complain(error);
        return exitBadRules;
    }
    if (command.empty())
        return RunInteractive();

    OutputChoices choices;
    choices.json = request.json;
    choices.styled = !request.json && WantsColour(ChosenColour(request.colour));
    choices.width = request.width >= 0 ? request.width : ScreenColumns();
    std::string out;
    const int code = command == "roll" ? RunRoll(request, choices, out)
                                       : RunCommand(command, request, choices, out);
    if (!DeliverOutput(out, command == "show" && !request.json)) {
        Complain(std::string("cannot write the output: ") + std::strerror(errno));
        return code == exitFound ? exitNothingFound : code;
    }
    return code;
}
