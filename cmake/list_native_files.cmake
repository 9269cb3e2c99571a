# Writes OUT: every file under FOLDER, relative to it, one a line, FIRST (the library) first.
# The jar's loader reads the list to extract a platform's files together (java/NativeApi).
file(GLOB_RECURSE found RELATIVE "${FOLDER}" "${FOLDER}/*")
list(REMOVE_ITEM found "${FIRST}" quorvex-files.txt)
list(SORT found)
list(PREPEND found "${FIRST}")
list(JOIN found "\n" text)
file(WRITE "${OUT}" "${text}\n")
