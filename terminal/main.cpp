// vellum: the rules compendium and dice roller as a terminal program, over
// the portable core and the rules image built into it.
#include "terminal/builtin_rules.h"
#include "terminal/command_line.h"

int main(int argc, char** argv)
{
    return RunVellum(argc, argv, BuiltInImage{builtinRulesImage, builtinRulesImageSize});
}
