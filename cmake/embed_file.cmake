# Script mode: turns one file into a C++ source that defines
#   extern const std::string_view trellan::embedded::<SYMBOL>
# holding the file's bytes exactly. Every byte is written as a \x escape in
# adjacent string literals, so the view is constant-initialised.
#   cmake -DIN=<file> -DOUT=<cpp> -DSYMBOL=<name> -P embed_file.cmake
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
set(body "")
set(pos 0)
while(pos LESS hex_length)
  # 32 bytes per source line keeps the generated file readable in an editor.
  string(SUBSTRING "${hex}" ${pos} 64 chunk)
  string(REGEX REPLACE "(..)" "\\\\x\\1" chunk "${chunk}")
  string(APPEND body "    \"${chunk}\"\n")
  math(EXPR pos "${pos} + 64")
endwhile()
file(WRITE "${OUT}.tmp"
  "// Generated from ${IN}; do not edit.\n"
  "#include <string_view>\n"
  "namespace trellan::embedded {\n"
  "extern const std::string_view ${SYMBOL};\n"
  "const std::string_view ${SYMBOL}(\n    \"\"\n${body}    , ${size});\n"
  "}  // namespace trellan::embedded\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
