# Script mode: joins the packed files in their order, packs them with
# `gzip -9 -n` (the same bytes on every build: no name, no time) and writes
#   OUT    the raw deflate stream and each file's PackedText (offset, size),
#          with PackedText::View(), which unpacks them on first use;
#   TABLE  kPackedFiles, each file's path relative to BASE.
#   cmake -DLIST=<packed_list.cmake> -DOUT=<cpp> -DTABLE=<cpp> -DHEADER=<h>
#         -DBASE=<folder> -P pack_files.cmake
include("${CMAKE_CURRENT_LIST_DIR}/bytes_literal.cmake")
include("${LIST}")

set(definitions "")
set(table "")
set(offset 0)
foreach(symbol path IN ZIP_LISTS PACKED_SYMBOLS PACKED_PATHS)
  file(SIZE "${path}" size)
  file(RELATIVE_PATH relative "${BASE}" "${path}")
  string(APPEND definitions "constinit const PackedText ${symbol}(${offset}, ${size});\n")
  string(APPEND table "    {\"${relative}\", &${symbol}},\n")
  math(EXPR offset "${offset} + ${size}")
endforeach()
list(LENGTH PACKED_SYMBOLS count)

execute_process(
  COMMAND cat ${PACKED_PATHS}
  COMMAND gzip -9 -n -c
  OUTPUT_FILE "${OUT}.gz"
  RESULTS_VARIABLE results)
if(NOT results STREQUAL "0;0")
  message(FATAL_ERROR "packing the templates failed (cat, gzip: ${results})")
endif()
file(READ "${OUT}.gz" hex HEX)
file(REMOVE "${OUT}.gz")
# A member without name, comment or extra field has a header of 10 bytes;
# its trailer (8 bytes: CRC and size) is left out too: the unpacking checks
# the size by itself.
string(SUBSTRING "${hex}" 0 8 magic)
if(NOT magic STREQUAL "1f8b0800")
  message(FATAL_ERROR "gzip wrote an unexpected header: ${magic}")
endif()
string(LENGTH "${hex}" hex_length)
math(EXPR deflate_length "${hex_length} - 20 - 16")
string(SUBSTRING "${hex}" 20 ${deflate_length} deflate)

trellan_bytes_literal("${deflate}" bytes)

file(WRITE "${OUT}.tmp"
  "// Generated from the packed templates; do not edit.\n"
  "#include \"${HEADER}\"\n\n"
  "#include <string>\n\n"
  "#include \"generator/inflate.h\"\n\n"
  "namespace trellan::embedded {\n\n"
  "namespace {\n"
  "constexpr std::string_view kDeflated(${bytes});\n"
  "constexpr std::size_t kUnpackedSize = ${offset};\n"
  "}  // namespace\n\n"
  "std::string_view PackedText::View() const {\n"
  "  static std::string unpacked;\n"
  "  if (unpacked.empty() && !Inflate(kDeflated, kUnpackedSize, unpacked)) return {};\n"
  "  return std::string_view(unpacked).substr(offset_, size_);\n"
  "}\n\n"
  "${definitions}\n"
  "}  // namespace trellan::embedded\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")

file(WRITE "${TABLE}.tmp"
  "// Generated from the list of packed templates; do not edit.\n"
  "#include \"${HEADER}\"\n\n"
  "namespace trellan::embedded {\n\n"
  "const PackedFile kPackedFiles[] = {\n${table}};\n"
  "const std::size_t kPackedFileCount = ${count};\n\n"
  "}  // namespace trellan::embedded\n")
file(COPY_FILE "${TABLE}.tmp" "${TABLE}" ONLY_IF_DIFFERENT)
file(REMOVE "${TABLE}.tmp")
