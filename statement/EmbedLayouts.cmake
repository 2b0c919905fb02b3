# Writes OUT, a C++ source holding the files FILES (a list) as byte strings,
# for embeddedLayoutFiles(). Run with cmake -P.
set(body "")
foreach(file IN LISTS FILES)
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "(..)" "\\\\x\\1" escaped "${hex}")
  get_filename_component(name ${file} NAME)
  string(LENGTH "${hex}" hexLength)
  math(EXPR size "${hexLength} / 2")
  string(APPEND body "        {\"${name}\", std::string_view(\"${escaped}\", ${size})},\n")
endforeach()
file(WRITE ${OUT}.new "#include \"statement/EmbeddedLayouts.h\"

namespace orvo::statement {

const std::vector<EmbeddedLayoutFile>& embeddedLayoutFiles() {
    static const std::vector<EmbeddedLayoutFile> files = {
${body}    };
    return files;
}

}  // namespace orvo::statement
")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.new ${OUT})
file(REMOVE ${OUT}.new)
