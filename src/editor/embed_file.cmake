# cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P embed_file.cmake
# Writes the bytes of INPUT as a C++ array `SYMBOL` in namespace zelvo::editor.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" length)
math(EXPR count "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; do not edit.\n#include <cstddef>\nnamespace zelvo::editor {\nextern const unsigned char ${SYMBOL}[] = {${bytes}};\nextern const std::size_t ${SYMBOL}Size = ${count};\n}\n")
