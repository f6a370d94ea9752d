# Writes OUTPUT, a C++ source that holds every file under DIR as bytes and
# lists them in DemoFiles(). Run with cmake -P at build time.
file(GLOB_RECURSE files RELATIVE "${DIR}" "${DIR}/*")
list(SORT files)
set(arrays "")
set(entries "")
set(index 0)
foreach(file IN LISTS files)
    file(READ "${DIR}/${file}" hex HEX)
    string(LENGTH "${hex}" hexLength)
    if(hexLength EQUAL 0)
        set(bytes "0")
        set(size 0)
    else()
        string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
        math(EXPR size "${hexLength} / 2")
    endif()
    string(APPEND arrays "constexpr unsigned char kFile${index}[] = {${bytes}};\n")
    string(APPEND entries "    {\"${file}\", Bytes(kFile${index}, ${size})},\n")
    math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from the demo folder; do not edit.
#include \"DemoFiles.h\"

#include <array>

namespace {

std::string_view Bytes(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

${arrays}
} // namespace

std::span<const EmbeddedFile> DemoFiles() {
    static const std::array<EmbeddedFile, ${index}> files = {{
${entries}    }};
    return files;
}
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
