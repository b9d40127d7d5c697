# Writes a content tree of generated text for the benchmarks that run under
# Wine: one category of 541 entries whose bodies hold about 1 MB, or SCALE
# times as many entries and bytes. Generated at build time and never shipped.
#   cmake -DOUT=<folder> [-DSCALE=<n>] -P make_bench_content.cmake
set(sentences
    "The creature gains a bonus on saving throws against fire and cold while the effect lasts."
    "Each round the caster may direct the storm at one new target within range."
    "A wall of thorns rises from the ground and blocks movement through its squares."
    "Ice forms on every surface in the area, and creatures moving there must check their balance."
    "The burst deals one die of damage per caster level to everything inside the spread."
    "Anyone who touches the glowing runes takes damage and is pushed back five feet."
    "The ward holds until it has absorbed its full measure of harm or the duration ends."
    "Stone softens under the spell and reshapes itself to the caster's will."
    "Light pours from the focus and drives back magical darkness of lower level."
    "Beasts within the area grow calm and will not attack unless they are attacked first."
    "The target must succeed on a Will save or stand dazed for one round."
    "Wind howls through the area, knocking small flying creatures out of the sky."
    "A shimmering field surrounds the subject and deflects the first arrow that would strike it."
    "Water in the area freezes solid to a depth of one foot per caster level."
    "The spell reveals hidden doors, traps and invisible creatures within the cone."
    "Flames dance along the weapon and add fire damage to each hit it lands.")
set(titleWords Acid Blaze Chill Dawn Ember Frost Gale Hollow Iron Jade Keen Lunar Mist Night
               Oak Pale Quake Rime Storm Thorn Umber Veil Ward Xylem Yew Zephyr)

if(NOT SCALE)
    set(SCALE 1)
endif()
math(EXPR lastEntry "541 * ${SCALE} - 1")

file(REMOVE_RECURSE ${OUT})
file(WRITE ${OUT}/categories.txt "spells\tSpells\n")
# Appending to one CMake string copies it whole each time: write a file per
# 541 entries.
set(entries "")
foreach(e RANGE 0 ${lastEntry})
    math(EXPR first "(${e} * 7) % 26")
    math(EXPR second "(${e} * 11 + 3) % 26")
    list(GET titleWords ${first} a)
    list(GET titleWords ${second} b)
    set(body "")
    foreach(k RANGE 0 21)
        math(EXPR pick "(${e} * 5 + ${k} * 3) % 16")
        list(GET sentences ${pick} sentence)
        string(APPEND body "${sentence} ")
    endforeach()
    string(APPEND entries "== ${a} ${b} ${e}\n${body}end\n\n")
    math(EXPR inBlock "(${e} + 1) % 541")
    if(inBlock EQUAL 0)
        math(EXPR block "${e} / 541")
        file(WRITE ${OUT}/spells/spells-${block}.txt "${entries}")
        set(entries "")
    endif()
endforeach()
