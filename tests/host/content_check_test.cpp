// The content checker: targets, field layouts, cross references, duplicate
// titles, copied paragraphs and creature traits, each over a small world of
// valid content that a case changes in one place.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "tools/packer/content_check.h"

namespace {

using World = std::map<std::string, std::string>;  // folder -> UTF-8 entry file

const char* const skillsText =
    "== Climb\n"                                                                           // 1
    "Key Ability:\tStrength\n"                                                             // 2
    "Trained Only:\tNo\n"                                                                  // 3
    "Armor Check Penalty:\tYes\n"                                                          // 4
    "\n"                                                                                   // 5
    "Check: You climb a wall or a rope.\n"                                                 // 6
    "DC\tExample\n"                                                                        // 7
    "10\tA rough wall\n"                                                                   // 8
    "Action: A Climb check is part of a move action.\n"                                    // 9
    "Try Again: Yes.\n"                                                                    // 10
    "Special: A creature with a climb speed gains a +8 bonus.\n"                           // 11
    "Synergy: If you have 5 or more ranks in Jump, you gain a +2 bonus on Climb checks.\n"  // 12
    "Untrained: Anyone can climb.\n"                                                       // 13
    "\n"
    "== Jump\n"  // 15
    "Key Ability:\tStrength\n"
    "Trained Only:\tNo\n"
    "Armor Check Penalty:\tYes\n"
    "\n"
    "Check: You leap.\n"  // 20
    "Action: None.\n"
    "Try Again: No.\n"
    "Special: None.\n"
    "Synergy: None.\n"
    "Untrained: Anyone can jump.\n"  // 25
    "\n"
    "== Knowledge (Arcana)\n"  // 27
    "Key Ability:\tIntelligence\n"
    "Trained Only:\tYes\n"
    "Armor Check Penalty:\tNo\n"
    "\n"
    "Check: You recall lore of magic.\n"
    "Action: None.\n"
    "Try Again: No.\n"
    "Special: None.\n"
    "Synergy: None.\n"
    "Untrained: Only common knowledge.\n";

const char* const featsText =
    "== Athletic\n"                                            // 1
    "[General]\n"                                              // 2
    "Prerequisites:\tClimb 1 rank, Jump 1 rank\n"              // 3
    "Benefit: You gain a +2 bonus on Climb and Jump checks.\n"  // 4
    "\n"
    "== Cleave\n"                                                  // 6
    "[General, Fighter Bonus]\n"                                   // 7
    "Prerequisites:\tStr 13, Power Attack, base attack bonus +1\n"  // 8
    "Benefit: You strike again when a foe falls.\n"                // 9
    "Normal: One attack only.\n"                                   // 10
    "Special: A fighter may take it as a bonus feat.\n"            // 11
    "\n"
    "== Power Attack\n"                         // 13
    "[General, Fighter Bonus]\n"                // 14
    "Prerequisites:\t\xE2\x80\x94\n"            // 15
    "Benefit: You trade accuracy for damage.\n"  // 16
    "\n"
    "== Skill Focus\n"                                              // 18
    "[General]\n"                                                   // 19
    "Prerequisites:\t\xE2\x80\x94\n"                                // 20
    "Benefit: Choose a skill; you gain a +3 bonus on its checks.\n"  // 21
    "\n"
    "== Weapon Focus\n"  // 23
    "[General, Fighter Bonus]\n"
    "Prerequisites:\tProficiency with the chosen weapon, base attack bonus +1\n"
    "Benefit: You gain a +1 bonus on attack rolls with one weapon.\n";

const char* const specialAbilitiesText = "== Darkvision\n"                                // 1
                                         "A creature with darkvision sees in the dark.\n"  // 2
                                         "\n"
                                         "How It Works: It sees without light, in grey.\n"  // 4
                                         "\n"
                                         "Stacking: Ranges do not add.\n"  // 6
                                         "\n"
                                         "== Immunities\n"  // 8
                                         "Some creatures are immune to things.\n"
                                         "\n"
                                         "How It Works: The effect does nothing.\n"
                                         "\n"
                                         "Stacking: Immunities are absolute.\n"
                                         "\n"
                                         "== Scent\n"                               // 15
                                         "A creature with scent smells its foes.\n"  // 16
                                         "\n"
                                         "How It Works: It notices creatures within 30 feet.\n"
                                         "\n"
                                         "Stacking: The longer range applies.\n";

const char* const spellsText = "== Ember Dart\n"                           // 1
                               "Evocation [Fire]\n"                        // 2
                               "Level:\tMage 1, Priest 2\n"                // 3
                               "Components:\tV, S\n"                       // 4
                               "Casting Time:\t1 standard action\n"        // 5
                               "Range:\tMedium (100 ft. + 10 ft./level)\n"  // 6
                               "Target:\tOne creature\n"                   // 7
                               "Duration:\tInstantaneous\n"                // 8
                               "Saving Throw:\tNone\n"                     // 9
                               "Spell Resistance:\tYes\n"                  // 10
                               "\n"
                               "A dart of fire strikes the target.\n"  // 12
                               "\n"
                               "== Far Step\n"  // 14
                               "Conjuration (Teleportation)\n"
                               "Level:\tBard 2, Mage 2\n"
                               "Components:\tV\n"
                               "Casting Time:\t1 standard action\n"
                               "Range:\tPersonal\n"
                               "Target:\tYou\n"
                               "Duration:\tInstantaneous\n"
                               "Saving Throw:\tNone\n"
                               "Spell Resistance:\tNo\n"
                               "\n"
                               "You step to a place you can see.\n";

const char* const monstersText =
    "== Ashback Drake\n"                                                         // 1
    "Size/Type:\tLarge Dragon (Ashen, Fire)\n"                                   // 2
    "Hit Dice:\t7d12+14 (59 hp)\n"                                               // 3
    "Initiative:\t+1\n"                                                          // 4
    "Speed:\t40 ft. (8 squares)\n"                                               // 5
    "Armor Class:\t18 (-1 size, +1 Dex, +8 natural), touch 10, flat-footed 17\n"  // 6
    "Base Attack/Grapple:\t+7/+16\n"                                             // 7
    "Attack:\tBite +11 melee (2d6+5)\n"                                          // 8
    "Full Attack:\tBite +11 melee (2d6+5)\n"                                     // 9
    "Space/Reach:\t10 ft./5 ft.\n"                                               // 10
    "Special Attacks:\tCinder breath, spell-like abilities\n"                    // 11
    "Special Qualities:\tDarkvision 60 ft., immunity to fire, sleep, scent\n"    // 12
    "Saves:\tFort +7, Ref +6, Will +5\n"                                         // 13
    "Abilities:\tStr 21, Dex 12, Con 15, Int 8, Wis 11, Cha 10\n"                // 14
    "Skills:\tClimb +10, Knowledge (Arcana) +4, Jump +8\n"                       // 15
    "Feats:\tPower Attack, Weapon Focus (bite), Skill Focus (Climb)\n"           // 16
    "Environment:\tWarm mountains\n"                                             // 17
    "Organization:\tSolitary or pair\n"                                          // 18
    "Challenge Rating:\t5\n"                                                     // 19
    "Treasure:\tStandard\n"                                                      // 20
    "Alignment:\tUsually neutral\n"                                              // 21
    "Advancement:\t8\xE2\x80\x93"
    "14 HD (Large)\n"                   // 22
    "Level Adjustment:\t\xE2\x80\x94\n"  // 23
    "\n"
    "An ashback drake basks on hot stones.\n"  // 25
    "\n"
    "Combat\n"                            // 27
    "It opens with its breath.\n"         // 28
    "Cinder Breath: A cone of hot ash.\n"  // 29
    "Spell-Like Abilities: At will\xE2\x80\x94"
    "Ember Dart; 1/day\xE2\x80\x94"
    "Far Step (self only). Caster level 5th.\n"          // 30
    "Dragon Traits: A dragon never forgets a slight.\n"  // 31
    "Fire Traits: A fire creature is immune to fire and takes half again as much damage as normal "
    "from cold, whether or not a save is allowed.\n";  // 32

const char* const templatesText =
    "== Ember-Veined\n"                                     // 1
    "An ember-veined creature carries fire in its blood.\n"  // 2
    "\n"
    "Creating an Ember-Veined Creature\n"  // 4
    "Size and Type: Unchanged.\n"         // 5
    "Hit Dice: Same as the base creature.\n"
    "Speed: Same as the base creature.\n"
    "Armor Class: Natural armor improves by 1.\n"
    "Attack: Same as the base creature.\n"
    "Full Attack: Same as the base creature.\n"  // 10
    "Damage: Same as the base creature.\n"      // 11
    "Special Attacks: Burning strikes.\n"       // 12
    "Special Qualities: Immunity to fire.\n"
    "Abilities: Str +2.\n"
    "Skills: Same as the base creature.\n"  // 15
    "Feats: Same as the base creature.\n"
    "Environment: Warm lands.\n"
    "Challenge Rating: As the base creature +1.\n"
    "Alignment: Same as the base creature.\n"
    "Advancement: Same as the base creature.\n"  // 20
    "Level Adjustment: +2.\n"                   // 21
    "\n"
    "Sample Ember-Veined Creature\n"     // 23
    "Ember-Veined Wolf\n"                // 24
    "Size/Type:\tMedium Animal (Fire)\n"  // 25
    "Hit Dice:\t2d8+6 (15 hp)\n"
    "Initiative:\t+2\n"
    "Speed:\t50 ft. (10 squares)\n"
    "Armor Class:\t15 (+2 Dex, +3 natural), touch 12, flat-footed 13\n"
    "Base Attack/Grapple:\t+1/+3\n"  // 30
    "Attack:\tBite +4 melee (1d6+3 plus 1d6 fire)\n"
    "Full Attack:\tBite +4 melee (1d6+3 plus 1d6 fire)\n"
    "Space/Reach:\t5 ft./5 ft.\n"
    "Special Attacks:\tBurning strikes\n"
    "Special Qualities:\tImmunity to fire, scent\n"  // 35
    "Saves:\tFort +6, Ref +5, Will +1\n"
    "Abilities:\tStr 15, Dex 15, Con 17, Int 2, Wis 12, Cha 6\n"
    "Skills:\tJump +3\n"
    "Feats:\tWeapon Focus (bite)\n"  // 39
    "Environment:\tWarm plains\n"   // 40
    "Organization:\tSolitary or pack (4\xE2\x80\x93"
    "7)\n"
    "Challenge Rating:\t2\n"
    "Treasure:\t\xE2\x80\x94\n"
    "Alignment:\tAlways neutral\n"
    "Advancement:\t3 HD (Medium)\n"     // 45
    "Level Adjustment:\t\xE2\x80\x94\n"  // 46
    "\n"
    "A wolf with glowing veins.\n"  // 48
    "\n"
    "Combat\n"                            // 50
    "Burning Strikes: Its bite burns.\n"  // 51
    "Fire Traits: A fire creature is immune to fire and takes half again as much damage as normal "
    "from cold, whether or not a save is allowed.\n";  // 52

// The drake and the wolf share the Fire wording, which is long enough to
// count as copied were it not the one wording of those traits.
const char* const creatureTraitsText =
    "# type, tab, wording\n"
    "Dragon\tA dragon never forgets a slight.\n"  // 2
    "Fire\tA fire creature is immune to fire and takes half again as much damage as normal from "
    "cold, whether or not a save is allowed.\n";  // 3

World ValidWorld()
{
    return World{{"skills", skillsText},
                 {"feats", featsText},
                 {"special-abilities", specialAbilitiesText},
                 {"spells", spellsText},
                 {"monsters", monstersText},
                 {"templates", templatesText}};
}

const std::map<std::string, std::string> categoryNames = {
    {"skills", "Skills"}, {"feats", "Feats"},       {"special-abilities", "Special Abilities"},
    {"spells", "Spells"}, {"monsters", "Monsters"}, {"templates", "Monsters - Templates"}};

std::vector<CreatureTraits> Traits()
{
    std::vector<CreatureTraits> traits;
    std::vector<std::string> errors;
    ParseCreatureTraits(creatureTraitsText, "creature-traits.txt", traits, errors);
    EXPECT_TRUE(errors.empty());
    return traits;
}

std::vector<SourceCategory> Categories(const World& world)
{
    std::vector<SourceCategory> categories;
    for (const auto& [folder, text] : world) {
        SourceCategory category;
        category.folder = folder;
        category.name = categoryNames.at(folder);
        std::vector<std::string> errors;
        ParseEntryFile(text, folder + "/" + folder + ".txt", category.entries, errors);
        EXPECT_TRUE(errors.empty()) << folder;
        categories.push_back(category);
    }
    return categories;
}

// Each category's target is its own size, so that counts pass; the folders
// named are incomplete.
std::vector<CategoryTarget> TargetsFor(const std::vector<SourceCategory>& categories,
                                       const std::vector<std::string>& incomplete = {})
{
    std::vector<CategoryTarget> targets;
    int line = 0;
    for (const SourceCategory& category : categories) {
        CategoryTarget target;
        target.folder = category.folder;
        target.target = static_cast<int>(category.entries.size());
        target.complete =
            std::find(incomplete.begin(), incomplete.end(), category.folder) == incomplete.end();
        target.file = "targets.txt";
        target.line = ++line;
        targets.push_back(target);
    }
    return targets;
}

CategoryTarget& TargetOf(std::vector<CategoryTarget>& targets, const std::string& folder)
{
    return *std::find_if(targets.begin(), targets.end(),
                         [&](const CategoryTarget& target) { return target.folder == folder; });
}

std::string Lines(const ContentReport& report, bool failures)
{
    std::string lines;
    for (const CheckFinding& finding : report.findings) {
        if (finding.failure == failures)
            lines += FormatFinding(finding) + "\n";
    }
    return lines;
}

// One change to the valid world: the first occurrence of find in a folder's
// file becomes replace.
struct Change {
    const char* folder;
    const char* find;
    const char* replace;
    const char* failures;  // the expected failure lines, "" when the change is fine
};

World Changed(const Change& change)
{
    World world = ValidWorld();
    std::string& text = world.at(change.folder);
    const std::size_t at = text.find(change.find);
    EXPECT_NE(at, std::string::npos) << change.find;
    if (at != std::string::npos)
        text.replace(at, std::string_view(change.find).size(), change.replace);
    return world;
}

void ExpectFailures(const Change* begin, const Change* end)
{
    for (const Change* change = begin; change != end; ++change) {
        const std::vector<SourceCategory> categories = Categories(Changed(*change));
        const ContentReport report = CheckContent(categories, TargetsFor(categories), Traits());
        EXPECT_EQ(Lines(report, true), change->failures)
            << change->find << " -> " << change->replace;
    }
}

template <std::size_t n> void ExpectFailures(const Change (&changes)[n])
{
    ExpectFailures(changes, changes + n);
}

TEST(CheckContent, PassesTheValidWorld)
{
    const std::vector<SourceCategory> categories = Categories(ValidWorld());
    const ContentReport report = CheckContent(categories, TargetsFor(categories), Traits());
    EXPECT_EQ(Lines(report, true), "");
    EXPECT_EQ(Lines(report, false), "");
    EXPECT_EQ(report.entries, 15);
}

TEST(CheckContent, SpellsFollowTheirLayout)
{
    const Change changes[] = {
        {"spells", "Target:\tOne creature", "Area:\t20-ft.-radius burst", ""},
        {"spells", "Target:\tOne creature\n", "", ""},
        {"spells", "Mage 1, Priest 2", "Bard 6, Paladin 4, Ranger 1, Druid 0", ""},
        {"spells", "Evocation [Fire]", "Fire [Evocation]",
         "spells/spells.txt:2: first line must name the school; 'Fire' is none\n"},
        {"spells", "Range:\tMedium (100 ft. + 10 ft./level)\n", "",
         "spells/spells.txt:6: missing 'Range:' before 'Target:'\n"},
        {"spells", "Components:\tV, S\nCasting Time:\t1 standard action",
         "Casting Time:\t1 standard action\nComponents:\tV, S",
         "spells/spells.txt:4: missing 'Components:' before 'Casting Time:'\n"
         "spells/spells.txt:5: 'Components:' is out of order or repeated\n"},
        {"spells", "Duration:", "Durations:",
         "spells/spells.txt:8: unknown label 'Durations:' in the spell's fields\n"
         "spells/spells.txt:9: missing 'Duration:' before 'Saving Throw:'\n"},
        {"spells", "Components:\tV, S", "Components: V, S",
         "spells/spells.txt:4: 'Components:' takes a tab before its value\n"},
        {"spells", "Spell Resistance:\tYes", "Spell Resistance:\t",
         "spells/spells.txt:10: 'Spell Resistance:' has no value (write \xE2\x80\x94 for none)\n"},
        {"spells", "Mage 1, Priest 2", "Mage 1, Paladin 6",
         "spells/spells.txt:3: Level: 'Paladin 6' is outside Paladin levels 1\xE2\x80\x93"
         "4\n"},
        {"spells", "Mage 1, Priest 2", "Wizard 1",
         "spells/spells.txt:3: Level: 'Wizard 1' is not a class and a level\n"},
        {"spells", "Yes\n\nA dart of fire strikes the target.\n", "Yes\n",
         "spells/spells.txt:10: no description after the fields\n"},
    };
    ExpectFailures(changes);
}

TEST(CheckContent, SkillsFollowTheirLayout)
{
    const Change changes[] = {
        {"skills", "Armor Check Penalty:\tYes", "Armor Check Penalty:\tYes (double when swimming)",
         ""},
        {"skills", "Key Ability:\tStrength", "Key Ability:\tNone", ""},
        {"skills", "Try Again: Yes.\n", "Try Again: Yes.\nA second paragraph on retries.\n", ""},
        {"skills", "Trained Only:\tNo", "Trained Only:\tSometimes",
         "skills/skills.txt:3: 'Trained Only:' holds 'Sometimes'; expected one of Yes, No\n"},
        {"skills", "Key Ability:\tStrength", "Key Ability:\tMight",
         "skills/skills.txt:2: 'Key Ability:' holds 'Might'; expected one of Strength, Dexterity, "
         "Constitution, Intelligence, Wisdom, Charisma, None\n"},
        {"skills", "Try Again: Yes.\n", "",
         "skills/skills.txt:10: missing 'Try Again:' before 'Special:'\n"},
        {"skills", "Check: You climb", "Check:\tYou climb",
         "skills/skills.txt:6: 'Check:' takes a blank before its text\n"},
        {"skills", "Armor Check Penalty:\tYes\n",
         "Armor Check Penalty:\tYes\nSynergy Bonus:\tNone\n",
         "skills/skills.txt:5: unknown label 'Synergy Bonus:' in the skill's fields\n"},
        {"skills", "Untrained: Anyone can climb.", "Anyone can climb.",
         "skills/skills.txt:13: missing 'Untrained:'\n"},
    };
    ExpectFailures(changes);
}

TEST(CheckContent, FeatsFollowTheirLayout)
{
    const Change changes[] = {
        {"feats", "Normal: One attack only.\n", "", ""},
        {"feats", "Benefit: You strike again when a foe falls.\n",
         "Benefit: You strike again when a foe falls.\nFoe\tExtra attacks\nOne\t1\n", ""},
        {"feats", "Normal: One attack only.\nSpecial: A fighter may take it as a bonus feat.",
         "Special: A fighter may take it as a bonus feat.\nNormal: One attack only.",
         "feats/feats.txt:11: 'Normal:' is out of order or repeated\n"},
        {"feats", "[General]\nPrerequisites:\t\xE2\x80\x94",
         "General\nPrerequisites:\t\xE2\x80\x94",
         "feats/feats.txt:19: first line must give the feat's types in brackets\n"},
        {"feats", "[General]\nPrerequisites:\t\xE2\x80\x94",
         "[Gneral]\nPrerequisites:\t\xE2\x80\x94",
         "feats/feats.txt:19: unknown feat type 'Gneral'\n"},
        {"feats", "Benefit: You trade", "Profit: You trade",
         "feats/feats.txt:16: missing 'Benefit:'\n"},
        {"feats", "Prerequisites:\t\xE2\x80\x94\nBenefit: You trade", "Benefit: You trade",
         "feats/feats.txt:15: second line must be 'Prerequisites:<tab>\xE2\x80\xA6' "
         "(\xE2\x80\x94 for none)\n"},
    };
    ExpectFailures(changes);
}

TEST(CheckContent, SpecialAbilitiesFollowTheirLayout)
{
    const Change changes[] = {
        {"special-abilities", "How It Works: It sees without light, in grey.\n",
         "How It Works: It sees without light, in grey.\nRange\tCreatures\n60 ft.\tMost\n", ""},
        {"special-abilities", "A creature with scent smells its foes.\n\n", "",
         "special-abilities/special-abilities.txt:16: the entry must open with a definition "
         "paragraph\n"},
        {"special-abilities", "Stacking: Ranges", "Stacks: Ranges",
         "special-abilities/special-abilities.txt:6: missing 'Stacking:'\n"},
        {"special-abilities", "\nHow It Works: It sees", "\nIt works: It sees",
         "special-abilities/special-abilities.txt:6: missing 'How It Works:' before 'Stacking:'\n"},
    };
    ExpectFailures(changes);
}

TEST(CheckContent, CreaturesFollowTheStatisticsBlock)
{
    const Change changes[] = {
        {"monsters", "It opens with its breath.\n",
         "It opens with its breath.\nIt flees when hurt.\n", ""},
        {"monsters", "Treasure:\tStandard", "Loot:\tStandard",
         "monsters/monsters.txt:20: unknown label 'Loot:' in the statistics block\n"
         "monsters/monsters.txt:21: missing 'Treasure:' before 'Alignment:'\n"},
        {"monsters", "Combat\n", "Tactics\n",
         "monsters/monsters.txt:23: no 'Combat' line after the description\n"},
        {"monsters", "Level Adjustment:\t\xE2\x80\x94", "Level Adjustment:\t",
         "monsters/monsters.txt:23: 'Level Adjustment:' has no value (write \xE2\x80\x94 for "
         "none)\n"},
        {"monsters", "Challenge Rating:\t5", "Challenge Rating 5",
         "monsters/monsters.txt:19: expected 'Label:<tab>value' in the statistics block\n"
         "monsters/monsters.txt:20: missing 'Challenge Rating:' before 'Treasure:'\n"},
        {"monsters", "Level Adjustment:\t\xE2\x80\x94\n\n", "Level Adjustment:\t\xE2\x80\x94\n",
         "monsters/monsters.txt:24: expected 'Label:<tab>value' in the statistics block\n"},
    };
    ExpectFailures(changes);
}

TEST(CheckContent, TemplatesFollowTheirLayout)
{
    const Change changes[] = {
        {"templates", "Creating an Ember-Veined", "Creating a Ember-Veined", ""},
        {"templates", "Creating an Ember-Veined Creature", "Creating a Fire Creature",
         "templates/templates.txt:1: no heading 'Creating an Ember-Veined Creature'\n"},
        {"templates", "Damage: Same as the base creature.\n", "",
         "templates/templates.txt:11: missing 'Damage:' before 'Special Attacks:'\n"},
        {"templates", "Level Adjustment: +2.\n\n", "Level Adjustment: +2.\nTreasure: None.\n\n",
         ""},
        {"templates", "Sample Ember-Veined Creature", "Sample Creature",
         "templates/templates.txt:21: no heading 'Sample Ember-Veined Creature' after the "
         "fields\n"},
        {"templates", "Ember-Veined Wolf\n", "",
         "templates/templates.txt:23: the sample creature's name must follow on its own line\n"},
        {"templates", "Saves:\tFort +6", "Save:\tFort +6",
         "templates/templates.txt:36: unknown label 'Save:' in the statistics block\n"
         "templates/templates.txt:37: missing 'Saves:' before 'Abilities:'\n"},
        {"templates", "An ember-veined creature carries fire in its blood.\n", "Hit Dice: Same.\n",
         "templates/templates.txt:2: the entry must open with a paragraph on what the template "
         "is\n"},
    };
    ExpectFailures(changes);
}

TEST(CheckContent, NamesInStructuredFieldsResolveByExactTitle)
{
    const Change changes[] = {
        // creature skills: a choice in parentheses, a note after the modifier
        {"monsters", "Climb +10,", "Climb +10 (+14 on rock),", ""},
        {"monsters", "Jump +8", "Leap +8",
         "monsters/monsters.txt:15: Skills: 'Leap' is not a skill\n"},
        {"monsters", "Knowledge (Arcana) +4", "Knowledge (arcana) +4",
         "monsters/monsters.txt:15: Skills: 'Knowledge (arcana)' is not a skill\n"},
        {"monsters", "Knowledge (Arcana) +4", "Knowledge +4",
         "monsters/monsters.txt:15: Skills: 'Knowledge' is not a skill\n"},
        {"monsters", "Jump +8", "Jump",
         "monsters/monsters.txt:15: Skills: 'Jump' is not a skill and a modifier\n"},
        // creature feats
        {"monsters", "Weapon Focus (bite)", "Weapon Fokus (bite)",
         "monsters/monsters.txt:16: Feats: 'Weapon Fokus (bite)' is not a feat\n"},
        {"templates", "Feats:\tWeapon Focus (bite)", "Feats:\tWeapon Focus (bite), Dodge",
         "templates/templates.txt:39: Feats: 'Dodge' is not a feat\n"},
        // special attacks and qualities
        {"monsters", "Darkvision 60 ft.", "Tremorsense 60 ft.",
         "monsters/monsters.txt:12: Special Qualities: 'Tremorsense' is neither a special ability "
         "nor described in this entry by a 'Tremorsense:' paragraph\n"},
        {"monsters", "Cinder Breath: A cone of hot ash.", "A cone of hot ash.",
         "monsters/monsters.txt:11: Special Attacks: 'Cinder breath' is neither a special ability "
         "nor described in this entry by a 'Cinder breath:' paragraph\n"},
        {"monsters", ", scent\n", ", scent, damage reduction 5/magic (see text)\n",
         "monsters/monsters.txt:12: Special Qualities: 'damage reduction' is neither a special "
         "ability nor described in this entry by a 'damage reduction:' paragraph\n"},
        {"monsters", ", scent\n", ", scent, Ember Dart\n", ""},
        {"special-abilities", "== Immunities", "== Immunity",
         "monsters/monsters.txt:12: Special Qualities: 'Immunities' is not a special ability\n"
         "templates/templates.txt:35: Special Qualities: 'Immunities' is not a special ability\n"},
        {"monsters", "It opens with its breath.\n",
         "It opens with its breath.\nScent: See the Special Abilities entry.\n", ""},
        {"monsters", "It opens with its breath.\n",
         "It opens with its breath.\nTremorsense: See the Special Abilities entry.\n",
         "monsters/monsters.txt:29: Tremorsense: 'Tremorsense' is not a special ability\n"},
        // spell-like abilities
        {"monsters", "Far Step (self only)", "Far Stride (self only)",
         "monsters/monsters.txt:30: Spell-Like Abilities: 'Far Stride' is not a spell\n"},
        {"monsters",
         "At will\xE2\x80\x94"
         "Ember Dart;",
         "At will\xE2\x80\x94"
         "Ember Dart, Far Step;",
         ""},
        // feat prerequisites
        {"feats", "Str 13, Power Attack,", "Str 13, Power Strike,",
         "feats/feats.txt:8: Prerequisites: 'Power Strike' is not a feat, skill or special "
         "ability\n"},
        {"feats", "Climb 1 rank", "Climbing 1 rank",
         "feats/feats.txt:3: Prerequisites: 'Climbing' is not a skill\n"},
        {"feats", "Climb 1 rank", "Knowledge (Arcana) 4 ranks, Scent, Dex 13, Three or more legs",
         ""},
        // synergies
        {"skills", "ranks in Jump", "ranks in Leaping",
         "skills/skills.txt:12: Synergy: 'Leaping' is not a skill\n"},
        {"skills", "on Climb checks", "on Climbing checks",
         "skills/skills.txt:12: Synergy: 'Climbing' is not a skill\n"},
        {"skills", "on Climb checks", "on Jump, Climbing and Knowledge (Arcana) checks",
         "skills/skills.txt:12: Synergy: 'Climbing' is not a skill\n"},
        {"skills", "on Climb checks", "on Strength checks and on any Knowledge check", ""},
        {"skills", "on Climb checks", "on Climbing checks and Climbing checks",
         "skills/skills.txt:12: Synergy: 'Climbing' is not a skill\n"},
        {"skills", "Synergy: If", "Synergy: None. Your Jump checks gain nothing. If", ""},
    };
    ExpectFailures(changes);
}

TEST(CheckContent, NamesInIncompleteCategoriesAreNotesNotFailures)
{
    struct Case {
        Change change;
        const char* incomplete;
        const char* note;
    };
    const Case cases[] = {
        {{"monsters", "Far Step (self only)", "Far Stride (self only)", ""},
         "spells",
         "monsters/monsters.txt:30: note: Spell-Like Abilities: 'Far Stride' is not a spell yet "
         "(Spells is incomplete)\n"},
        {{"monsters", "Jump +8", "Leap +8", ""},
         "skills",
         "monsters/monsters.txt:15: note: Skills: 'Leap' is not a skill yet (Skills is "
         "incomplete)\n"},
        {{"monsters", "Darkvision 60 ft.", "Tremorsense 60 ft.", ""},
         "special-abilities",
         "monsters/monsters.txt:12: note: Special Qualities: 'Tremorsense' is not a special "
         "ability yet and not described in this entry (Special Abilities is incomplete)\n"},
        {{"feats", "Str 13, Power Attack,", "Str 13, Power Strike,", ""},
         "feats",
         "feats/feats.txt:8: note: Prerequisites: 'Power Strike' is not a feat, skill or special "
         "ability yet\n"},
    };
    for (const Case& c : cases) {
        const std::vector<SourceCategory> categories = Categories(Changed(c.change));
        const ContentReport report =
            CheckContent(categories, TargetsFor(categories, {c.incomplete}), Traits());
        EXPECT_EQ(Lines(report, true), "") << c.note;
        EXPECT_EQ(Lines(report, false), c.note);
        EXPECT_EQ(report.Notes(), 1);
    }
}

TEST(CheckContent, CountsAgainstTargets)
{
    struct Case {
        int target;
        bool complete;
        const char* failures;
    };
    // The world holds five feats.
    const Case cases[] = {
        {5, true, ""},
        {6, false, ""},
        {6, true, "targets.txt:1: Feats is marked complete but holds 5 of its 6 entries\n"},
        {4, false, "targets.txt:1: Feats holds 5 entries, more than its target of 4\n"},
        {4, true, "targets.txt:1: Feats holds 5 entries, more than its target of 4\n"},
    };
    for (const Case& c : cases) {
        const std::vector<SourceCategory> categories = Categories(ValidWorld());
        std::vector<CategoryTarget> targets = TargetsFor(categories);
        TargetOf(targets, "feats").target = c.target;
        TargetOf(targets, "feats").complete = c.complete;
        const ContentReport report = CheckContent(categories, targets, Traits());
        EXPECT_EQ(Lines(report, true), c.failures) << c.target;
        ASSERT_EQ(report.progress.size(), 6u);
        const auto feats =
            std::find_if(report.progress.begin(), report.progress.end(),
                         [](const CategoryProgress& p) { return p.name == "Feats"; });
        ASSERT_NE(feats, report.progress.end());
        EXPECT_EQ(feats->count, 5);
        EXPECT_EQ(feats->target, c.target);
        EXPECT_EQ(feats->complete, c.complete);
    }
}

TEST(CheckContent, EveryCategoryHasATargetAndEveryTargetACategory)
{
    const std::vector<SourceCategory> categories = Categories(ValidWorld());
    std::vector<CategoryTarget> targets = TargetsFor(categories);
    TargetOf(targets, "special-abilities").folder = "special";
    const ContentReport report = CheckContent(categories, targets, Traits());
    EXPECT_EQ(Lines(report, true),
              "targets.txt: no target for the category in folder 'special-abilities'\n"
              "targets.txt:4: no category has the folder 'special'\n");
}

TEST(CheckContent, CreatureTraitsHaveTheOneWordingOfTheirType)
{
    const char* const fireTraits = "Fire Traits: A fire creature is immune to fire and takes half "
                                   "again as much damage as normal from cold, whether or not a "
                                   "save is allowed.\n";
    const Change changes[] = {
        // a people's own traits, named after the creature's subtype
        {"monsters", "Dragon Traits:", "Ashen Traits: Ash clings to it.\nDragon Traits:", ""},
        {"monsters", "forgets a slight", "forgives a slight",
         "monsters/monsters.txt:31: 'Dragon Traits:' differs from its wording at "
         "creature-traits.txt:2 (first at word 4)\n"},
        // the wolf's Fire wording still passes as the one wording, not as a copy
        {"monsters", "a save is allowed.\n", "a save is allowed. Twice.\n",
         "monsters/monsters.txt:32: 'Fire Traits:' differs from its wording at "
         "creature-traits.txt:3 (first at word 26)\n"},
        {"monsters", "Dragon Traits: A dragon never forgets a slight.\n", "",
         "monsters/monsters.txt:2: no 'Dragon Traits:' paragraph, which every Dragon carries "
         "(creature-traits.txt:2)\n"},
        {"templates", fireTraits, "",
         "templates/templates.txt:25: no 'Fire Traits:' paragraph, which every Fire carries "
         "(creature-traits.txt:3)\n"},
        {"monsters", "(Ashen, Fire)", "(Ashen)",
         "monsters/monsters.txt:32: 'Fire Traits:' on a creature whose Size/Type names no Fire\n"},
        {"monsters", "Dragon Traits:", "Cinder Traits: Hot.\nDragon Traits:",
         "monsters/monsters.txt:31: 'Cinder Traits:' names neither a type worded in "
         "creature-traits.txt nor a subtype of this creature\n"},
        {"templates", fireTraits, "Animal Traits: It hunts.\n",
         "templates/templates.txt:25: no 'Fire Traits:' paragraph, which every Fire carries "
         "(creature-traits.txt:3)\n"
         "templates/templates.txt:52: 'Animal Traits:' names neither a type worded in "
         "creature-traits.txt nor a subtype of this creature\n"},
    };
    ExpectFailures(changes);
}

TEST(CheckContent, SummonedCreaturesAreExactTitlesOfCreatures)
{
    const char* const dart = "A dart of fire strikes the target.\n";
    const Change changes[] = {
        {"spells", dart, "A dart of fire strikes the target.\n\nSpell\tCreatures\nEmber Dart\tAshback Drake\n", ""},
        {"spells", dart,
         "A dart of fire strikes the target.\n\nSpell\tCreatures\nEmber Dart\tAshback Drake, Dire Wolf, "
         "ashback drake\n",
         "spells/spells.txt:15: Creatures: 'Dire Wolf' is not the title of a monster or an animal\n"
         "spells/spells.txt:15: Creatures: 'ashback drake' is not the title of a monster or an animal\n"},
        {"spells", dart, "A dart of fire strikes the target.\n\nSpell\tCreatures\nFar Step\tAshback Drake\n",
         "spells/spells.txt:15: Creatures: the row after the list's header must be the spell's title, a tab "
         "and the creatures\n"},
    };
    ExpectFailures(changes);
}

TEST(CheckContent, TablesHaveOneTabBetweenTwoCells)
{
    const Change changes[] = {
        {"spells", "Level:\tMage 1", "Level:\t\tMage 1",
         "spells/spells.txt:3: two tabs in a row; write one tab between two cells\n"},
        {"spells", "Mage 1, Priest 2", "Mage 1, Priest 2\t",
         "spells/spells.txt:3: a tab at the end or start of a line; tabs go between two cells\n"},
    };
    ExpectFailures(changes);
}

TEST(CheckContent, TitlesAreUniqueButForTheOnePair)
{
    struct Case {
        const char* addedFeats;
        const char* pair;
        bool complete;
        const char* failures;
    };
    const char* const toughness =
        "\n== Toughness\n[General]\nPrerequisites:\t\xE2\x80\x94\nBenefit: +3 hp.\n"
        "\n== Toughness\n[Monster]\nPrerequisites:\t\xE2\x80\x94\nBenefit: +1 hp per HD.\n";
    const std::string three =
        std::string(toughness) +
        "\n== Toughness\n[General]\nPrerequisites:\t\xE2\x80\x94\nBenefit: Again.\n";
    const Case cases[] = {
        {"\n== Power Attack\n[General]\nPrerequisites:\t\xE2\x80\x94\nBenefit: Again.\n", "", true,
         "feats/feats.txt:28: title 'Power Attack' is already used at feats/feats.txt:13\n"},
        {"\n== power attack\n[General]\nPrerequisites:\t\xE2\x80\x94\nBenefit: Again.\n", "", true,
         "feats/feats.txt:28: title 'power attack' is already used at feats/feats.txt:13\n"},
        {toughness, "Toughness", true, ""},
        {toughness, "", true,
         "feats/feats.txt:33: title 'Toughness' is already used at feats/feats.txt:28\n"},
        {three.c_str(), "Toughness", true,
         "feats/feats.txt:38: title 'Toughness' is already used at feats/feats.txt:28\n"},
        {"", "Toughness", true,
         "targets.txt:1: expected two entries titled 'Toughness', found 0\n"},
        {"", "Toughness", false, ""},
    };
    for (const Case& c : cases) {
        World world = ValidWorld();
        world.at("feats") += c.addedFeats;
        const std::vector<SourceCategory> categories = Categories(world);
        std::vector<CategoryTarget> targets = TargetsFor(categories);
        TargetOf(targets, "feats").pairTitle = c.pair;
        TargetOf(targets, "feats").complete = c.complete;
        const ContentReport report = CheckContent(categories, targets, Traits());
        EXPECT_EQ(Lines(report, true), c.failures) << c.addedFeats;
    }
}

TEST(CheckContent, ParagraphsOfTwentyWordsOrMoreAreNotCopiedBetweenEntries)
{
    const std::string twenty =
        "one two three four five six seven eight nine ten eleven twelve thirteen fourteen "
        "fifteen sixteen seventeen eighteen nineteen twenty";
    const std::string nineteen = twenty.substr(0, twenty.rfind(' '));
    struct Case {
        std::string climbParagraph;
        std::string jumpParagraph;
        std::string scentParagraph;
        const char* failures;
    };
    const Case cases[] = {
        {twenty, twenty, "",
         "skills/skills.txt:7: paragraph of 20 words also occurs in 'Jump' "
         "(skills/skills.txt:22)\n"},
        {nineteen, nineteen, "", ""},
        {twenty, "Before it, " + twenty + " and after it.", "",
         "skills/skills.txt:7: paragraph of 20 words also occurs in 'Jump' "
         "(skills/skills.txt:22)\n"},
        {twenty, "", "In\tthe\ttable " + twenty,
         "skills/skills.txt:7: paragraph of 20 words also occurs in 'Scent' "
         "(special-abilities/special-abilities.txt:17)\n"},
        {twenty, twenty, twenty,
         "skills/skills.txt:7: paragraph of 20 words also occurs in 'Jump' (skills/skills.txt:22), "
         "'Scent' (special-abilities/special-abilities.txt:17)\n"},
        {twenty + "\n" + twenty, "", "", ""},
        {twenty, twenty.substr(4), "", ""},
    };
    for (const Case& c : cases) {
        World world = ValidWorld();
        std::string& skills = world.at("skills");
        skills.replace(skills.find("Check: You leap.\n"), 17,
                       "Check: You leap.\n" + c.jumpParagraph + "\n");
        skills.replace(skills.find("DC\tExample\n"), 11, c.climbParagraph + "\nDC\tExample\n");
        std::string& abilities = world.at("special-abilities");
        abilities.replace(abilities.find("A creature with scent smells its foes.\n"), 39,
                          "A creature with scent smells its foes.\n" + c.scentParagraph + "\n");
        const std::vector<SourceCategory> categories = Categories(world);
        const ContentReport report = CheckContent(categories, TargetsFor(categories), Traits());
        EXPECT_EQ(Lines(report, true), c.failures) << c.climbParagraph << " / " << c.jumpParagraph;
    }
}

TEST(ParseTargetList, ReadsFolderTargetStateAndPair)
{
    struct Case {
        const char* line;
        const char* error;
    };
    const Case cases[] = {
        {"feats\t75\tcomplete\tToughness", ""},
        {"spells\t541\tincomplete", ""},
        {"spells\t541",
         "targets.txt:2: expected a folder, a tab, a number of entries, a tab and "
         "'complete' or 'incomplete' (and a tab and a title that two entries share)"},
        {"spells\tmany\tincomplete",
         "targets.txt:2: expected a folder, a tab, a number of entries, "
         "a tab and 'complete' or 'incomplete' (and a tab and a title "
         "that two entries share)"},
        {"spells\t541\tdone", "targets.txt:2: expected a folder, a tab, a number of entries, a tab "
                              "and 'complete' or 'incomplete' (and a tab and a title that two "
                              "entries share)"},
        {"feats\t75\tcomplete\t\xE2\x89\xA5",
         "targets.txt:2: character U+2265 has no Windows-1252 form"},
    };
    for (const Case& c : cases) {
        std::vector<CategoryTarget> targets;
        std::vector<std::string> errors;
        ParseTargetList(std::string("# comment\n") + c.line + "\r\n\n", "targets.txt", targets,
                        errors);
        if (*c.error) {
            EXPECT_TRUE(targets.empty()) << c.line;
            ASSERT_EQ(errors.size(), 1u) << c.line;
            EXPECT_EQ(errors[0], c.error);
        } else {
            EXPECT_TRUE(errors.empty()) << c.line;
            ASSERT_EQ(targets.size(), 1u) << c.line;
            EXPECT_EQ(targets[0].line, 2);
        }
    }
    std::vector<CategoryTarget> targets;
    std::vector<std::string> errors;
    ParseTargetList("feats\t75\tcomplete\tKeeper\xE2\x80\x99s Ward\n", "t", targets, errors);
    ASSERT_EQ(targets.size(), 1u);
    EXPECT_EQ(targets[0].folder, "feats");
    EXPECT_EQ(targets[0].target, 75);
    EXPECT_TRUE(targets[0].complete);
    EXPECT_EQ(targets[0].pairTitle, "Keeper\x92s Ward");
}

TEST(ParseCreatureTraits, ReadsATypeAndItsWording)
{
    struct Case {
        const char* lines;
        const char* error;
    };
    const char* const expected =
        "traits.txt:2: expected a creature type, a tab and the wording of its traits";
    const Case cases[] = {
        {"Undead\tIt has no Constitution score.", ""},
        {"Undead", expected},
        {"Undead\t", expected},
        {"Undead\tIt rots.\tIt walks.", expected},
        {"Undead\tIt is \xE2\x89\xA5 all.",
         "traits.txt:2: character U+2265 has no Windows-1252 form"},
        {"Undead\tIt rots.\nUndead\tIt walks.",
         "traits.txt:3: the traits of 'Undead' are already worded at line 2"},
    };
    for (const Case& c : cases) {
        std::vector<CreatureTraits> traits;
        std::vector<std::string> errors;
        ParseCreatureTraits(std::string("# comment\n") + c.lines + "\r\n\n", "traits.txt", traits,
                            errors);
        EXPECT_EQ(errors.empty() ? "" : errors[0], std::string(c.error)) << c.lines;
        EXPECT_LE(errors.size(), 1u) << c.lines;
        if (!*c.error) {
            ASSERT_EQ(traits.size(), 1u);
            EXPECT_EQ(traits[0].type, "Undead");
            EXPECT_EQ(traits[0].wording, "It has no Constitution score.");
            EXPECT_EQ(traits[0].line, 2);
        }
    }
}

class CheckedContentTree : public ::testing::Test {
  protected:
    void SetUp() override
    {
        root = std::filesystem::temp_directory_path() /
               ("vellum-check-" + std::to_string(getpid()) + "-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "feats");
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    void Write(const std::filesystem::path& path, const std::string& text)
    {
        std::ofstream(root / path, std::ios::binary) << text;
    }
    std::string Report()
    {
        const ContentReport report = CheckContentTree(root);
        std::string lines;
        for (const CheckFinding& finding : report.findings)
            lines += FormatFinding(finding) + "\n";
        return lines;
    }
    std::filesystem::path root;
};

TEST_F(CheckedContentTree, ReportsWhatThePackerRefusesWithFileAndLine)
{
    Write("categories.txt", "feats\tFeats\n");
    Write("targets.txt", "feats\t2\tincomplete\n");
    Write("feats/feats.txt",
          "== Dodge!\n[General]\nPrerequisites:\t\xE2\x80\x94\nBenefit: +1 AC.\n");
    EXPECT_EQ(Report(), (root / "feats/feats.txt").string() +
                            ":1: title holds '!', which titles may not hold\n");
}

TEST_F(CheckedContentTree, FailsWithoutTargets)
{
    Write("categories.txt", "feats\tFeats\n");
    Write("feats/feats.txt",
          "== Dodge\n[General]\nPrerequisites:\t\xE2\x80\x94\nBenefit: +1 AC.\n");
    const std::string targets = (root / "targets.txt").string();
    EXPECT_EQ(Report(), targets + ": cannot be read\n" +
                            "targets.txt: no target for the category in folder 'feats'\n");
}

TEST_F(CheckedContentTree, ReadsTheCreatureTraitsBesideTheTargets)
{
    Write("categories.txt", "feats\tFeats\n");
    Write("targets.txt", "feats\t1\tcomplete\n");
    Write("creature-traits.txt", "Undead\n");
    Write("feats/feats.txt",
          "== Dodge\n[General]\nPrerequisites:\t\xE2\x80\x94\nBenefit: +1 AC.\n");
    EXPECT_EQ(Report(), (root / "creature-traits.txt").string() +
                            ":1: expected a creature type, a tab and the wording of its traits\n");
}

TEST_F(CheckedContentTree, PassesAnIncompleteCategoryAndCountsIt)
{
    Write("categories.txt", "feats\tFeats\n");
    Write("targets.txt", "feats\t2\tincomplete\n");
    Write("feats/feats.txt",
          "== Dodge\n[General]\nPrerequisites:\t\xE2\x80\x94\nBenefit: +1 AC.\n");
    const ContentReport report = CheckContentTree(root);
    EXPECT_EQ(report.Failures(), 0);
    ASSERT_EQ(report.progress.size(), 1u);
    EXPECT_EQ(report.progress[0].count, 1);
    EXPECT_EQ(report.progress[0].target, 2);
    EXPECT_FALSE(report.progress[0].complete);
}

}  // namespace
