# Runs zeziriv-filter's simulate and palette commands as a user or a build pipeline would, in a
# scratch folder, and checks exit status, messages and the files left behind.
#   -DTOOL=... -DRUNNER=... (empty natively, the Wine runner otherwise) -DPICTURES=... -DSCRATCH=...
#   -DFILTER=... (a colour-map filter file)
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
foreach(name rgb.png rgba.png ui_edges.png ui_pair.png)
    file(COPY ${PICTURES}/${name} DESTINATION ${SCRATCH})
endforeach()

# run(EXPECTED_STATUS OUTPUT_VARIABLE args...): the tool's stdout and stderr together.
function(run expected out)
    execute_process(COMMAND ${RUNNER} ${TOOL} ${ARGN} WORKING_DIRECTORY ${SCRATCH}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE text ERROR_VARIABLE text)
    if(NOT rc EQUAL expected)
        message(FATAL_ERROR "zeziriv-filter ${ARGN}: status ${rc}, expected ${expected}\n${text}")
    endif()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(expect_match text pattern what)
    if(NOT text MATCHES "${pattern}")
        message(FATAL_ERROR "${what}: '${pattern}' not in:\n${text}")
    endif()
endfunction()

function(expect_png path)
    if(NOT EXISTS ${SCRATCH}/${path})
        message(FATAL_ERROR "${path} was not written")
    endif()
    file(READ ${SCRATCH}/${path} head LIMIT 4 HEX)
    if(NOT head STREQUAL "89504e47")
        message(FATAL_ERROR "${path} is not a PNG (${head})")
    endif()
endfunction()

# One filter, by ID: OUTPUT is its picture.
run(0 text simulate --filter protanopia --quality 3 --blur 1 rgba.png one.png)
expect_png(one.png)

# Files named in any script, whatever the system's code page: a picture in, a picture out, and a
# filter file by its path.
file(COPY_FILE ${SCRATCH}/rgb.png "${SCRATCH}/ρgb 色.png")
run(0 text simulate --filter protanopia "ρgb 色.png" "出力 ό.png")
expect_png("出力 ό.png")
file(COPY_FILE ${FILTER} "${SCRATCH}/φίλτρο 色.xml")
run(0 text simulate --filter "φίλτρο 色.xml" "ρgb 色.png" "出力 ύ.png")
expect_png("出力 ύ.png")

# --all: one picture per filter enabled by default, beside OUTPUT.
run(0 text simulate --all rgb.png all.png)
foreach(id protanopia deutanopia tritanoptia hue_gbr hue_brg)
    expect_png(all-${id}.png)
endforeach()
if(EXISTS ${SCRATCH}/all.png OR EXISTS ${SCRATCH}/all-_normal.png)
    message(FATAL_ERROR "--all wrote OUTPUT itself or the identity")
endif()

# --sheet: OUTPUT is the contact sheet; with two named filters it has three panels.
run(0 text simulate --sheet --filter tritanoptia --filter hue_brg rgb.png sheet.png)
expect_png(sheet.png)

# A reference filter is refused, naming its members; nothing is written.
run(1 text simulate --filter cycle_dichromacy rgb.png refused.png)
expect_match("${text}" "cycle_dichromacy is a reference filter.*members: _normal, protanopia"
             "reference filter")

# Bad input: one clear message, non-zero status, no output.
file(WRITE ${SCRATCH}/notes.png "not a picture at all")
file(READ ${PICTURES}/rgb.png head LIMIT 60)
file(WRITE ${SCRATCH}/cut.png "${head}")
run(1 text simulate --filter protanopia notes.png bad1.png)
expect_match("${text}" "notes.png: not a PNG or BMP picture" "non-image input")
run(1 text simulate --filter protanopia missing.png bad2.png)
expect_match("${text}" "missing.png: cannot open" "missing input")
# An OUTPUT that cannot be replaced (a folder) leaves no partial file.
file(MAKE_DIRECTORY ${SCRATCH}/folder.png)
run(1 text simulate --filter protanopia rgb.png folder.png)
foreach(name bad1.png bad2.png refused.png)
    if(EXISTS ${SCRATCH}/${name})
        message(FATAL_ERROR "${name} written after a failure")
    endif()
endforeach()
file(GLOB leftovers ${SCRATCH}/*.tmp*)
if(leftovers)
    message(FATAL_ERROR "scratch files left behind: ${leftovers}")
endif()

# Usage errors.
run(2 text simulate rgb.png)
run(2 text simulate --filter protanopia --quality 19 rgb.png x.png)
run(2 text simulate --filter protanopia --blur 6 rgb.png x.png)

# palette: a red and a green that protanopia and deuteranopia merge and tritanopia does not.
run(1 text palette "#C86432" "#5A8A20" "#1F77B4")
expect_match("${text}" "protanopia \"[^\n]*\"\n  #C86432 -> #[0-9A-F]+\n" "table")
expect_match("${text}" "#C86432 #5A8A20  [0-9.]+ -> [0-9.]+" "collapsed pair")
run(0 text palette --filter tritanoptia "#C86432" "#5A8A20")
expect_match("${text}" "no pair falls below 10.0" "tritanopia")
run(0 text palette --min-delta 2 "#C86432" "#5A8A20")

# --json parses, and says the same.
run(1 json palette --json "#C86432" "#5A8A20" "#1F77B4")
string(JSON count LENGTH "${json}" filters)
string(JSON collapsed GET "${json}" collapsed)
string(JSON first GET "${json}" filters 0 collapsedPairs 0 first)
string(JSON second GET "${json}" filters 0 collapsedPairs 0 second)
string(JSON tritan LENGTH "${json}" filters 2 collapsedPairs)
string(JSON simulated GET "${json}" filters 1 colours 0 simulated)
if(NOT count EQUAL 3 OR NOT collapsed OR NOT first STREQUAL "#C86432"
   OR NOT second STREQUAL "#5A8A20" OR NOT tritan EQUAL 0 OR NOT simulated MATCHES "^#[0-9A-F]+$")
    message(FATAL_ERROR "unexpected JSON:\n${json}")
endif()
run(0 json palette --json --filter tritanoptia "#C86432" "#5A8A20")
string(JSON collapsed GET "${json}" collapsed)
if(collapsed)
    message(FATAL_ERROR "tritanopia JSON reports a collapse:\n${json}")
endif()
run(2 text palette "#C8643")
run(2 text palette --filter no_such_filter "#C86432")

# palette --from-picture: the colours of a picture of a user interface, not those of its smooth
# edges; a red and a green that red-green deficiencies merge are found, a blue and a black on
# white are not.
run(0 text palette --from-picture ui_edges.png)
expect_match("${text}" "ui_edges.png: 3 colours cover at least 1% of the picture each" "edges")
expect_match("${text}" "no pair falls below 10.0" "edges audit")
run(1 text palette --from-picture ui_pair.png)
expect_match("${text}" "#C86432 #5A8A20  [0-9.]+ -> [0-9.]+" "picture pair")
run(1 json palette --json --from-picture ui_pair.png --min-share 5)
string(JSON colours LENGTH "${json}" pictureColours)
string(JSON share GET "${json}" minShare)
string(JSON first GET "${json}" filters 0 collapsedPairs 0 first)
if(NOT colours EQUAL 3 OR NOT share EQUAL 5 OR NOT first STREQUAL "#C86432")
    message(FATAL_ERROR "unexpected --from-picture JSON:\n${json}")
endif()
# The same refusals as simulate's, as a palette that cannot run.
run(2 text palette --from-picture notes.png)
expect_match("${text}" "notes.png: not a PNG or BMP picture" "non-image picture")
run(1 text simulate --filter protanopia cut.png cut_out.png)
set(refusal "${text}")
run(2 text palette --from-picture cut.png)
if(NOT text STREQUAL refusal)
    message(FATAL_ERROR "a truncated picture: '${text}' where simulate says '${refusal}'")
endif()
run(2 text palette --from-picture missing.png)
expect_match("${text}" "missing.png: cannot open" "missing picture")
run(2 text palette --from-picture ui_pair.png --min-share 0)
run(2 text palette --from-picture ui_pair.png --min-share 101)

# simulate --highlight: the filter window's highlighting of a picture.
run(0 text simulate --filter protanopia --highlight "#C86432" ui_pair.png highlighted.png)
expect_png(highlighted.png)
run(0 text simulate --filter deutanopia --highlight 5A8A20 --distance 10 ui_pair.png hl10.png)
expect_png(hl10.png)
run(2 text simulate --filter protanopia --highlight "#C8643" ui_pair.png x.png)
run(2 text simulate --filter protanopia --highlight "#C86432" --distance 0 ui_pair.png x.png)
run(2 text simulate --filter protanopia --distance 5 ui_pair.png x.png)
expect_match("${text}" "--distance needs --highlight" "distance alone")
