# Writes the package's copyright file, in Debian's machine-readable format,
# from LICENSE at the top of the tree: the holder and year come from its
# copyright line, the licence text is its text from "Permission" on.
#
#   cmake -DLICENSE=<LICENSE> -DCONTACT=<name and address> -DOUTPUT=<file> -P copyright.cmake

file(READ "${LICENSE}" licence)
if(NOT licence MATCHES "\nCopyright \\(c\\) ([^\n]+)\n")
  message(FATAL_ERROR "${LICENSE}: no line \"Copyright (c) <year> <holder>\"")
endif()
set(holder "${CMAKE_MATCH_1}")
string(FIND "${licence}" "Permission is hereby granted" start)
if(start LESS 0)
  message(FATAL_ERROR "${LICENSE}: not the MIT licence text")
endif()
string(SUBSTRING "${licence}" ${start} -1 text)
string(STRIP "${text}" text)

# In a field's continuation lines every line starts with a blank, and an empty
# line is written as " .".
string(REPLACE "\n" "\n " text " ${text}")
string(REPLACE "\n \n" "\n .\n" text "${text}")

file(WRITE "${OUTPUT}" "\
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: kyusei
Upstream-Contact: ${CONTACT}
Comment: Every file in this package is kyusei's own and is released under the
 MIT licence, which this format calls Expat. Nothing of anyone else is bundled:
 the program links the Qt 6 libraries (LGPL-3) dynamically and draws its
 Japanese text with the IPA fonts, and both come from their own Debian
 packages, named in this package's dependencies.

Files: *
Copyright: ${holder}
License: Expat
${text}
")
