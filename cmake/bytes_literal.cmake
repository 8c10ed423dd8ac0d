# For the script-mode embedding steps: bytes given as hex digits (file(READ
# ... HEX)) as the argument list of a constant-initialised std::string_view:
# every byte a \x escape in adjacent string literals, then the size.
function(trellan_bytes_literal hex out_var)
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
  set(${out_var} "\n    \"\"\n${body}    , ${size}" PARENT_SCOPE)
endfunction()
