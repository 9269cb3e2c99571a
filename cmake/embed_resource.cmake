# Writes a file of resources/ as a C array for a program that ships it inside itself
# (cmake -DINPUT=... -DOUTPUT=... -DNAME=kSymbol -P embed_resource.cmake): bytes, not a string
# literal, which MSVC caps in length.
file(READ "${INPUT}" bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
string(REGEX REPLACE "(([^,]*,){16})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT}.\nconst char ${NAME}[] = {\n${bytes}'\\0'};\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
