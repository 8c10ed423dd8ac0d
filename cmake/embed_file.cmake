# Script mode: turns one file into a C++ source that defines
#   extern const std::string_view trellan::embedded::<SYMBOL>
# holding the file's bytes exactly. Every byte is written as a \x escape in
# adjacent string literals, so the view is constant-initialised.
#   cmake -DIN=<file> -DOUT=<cpp> -DSYMBOL=<name> -P embed_file.cmake
include("${CMAKE_CURRENT_LIST_DIR}/bytes_literal.cmake")
file(READ "${IN}" hex HEX)
trellan_bytes_literal("${hex}" bytes)
file(WRITE "${OUT}.tmp"
  "// Generated from ${IN}; do not edit.\n"
  "#include <string_view>\n"
  "namespace trellan::embedded {\n"
  "extern const std::string_view ${SYMBOL};\n"
  "const std::string_view ${SYMBOL}(${bytes});\n"
  "}  // namespace trellan::embedded\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
