# SPDX-License-Identifier: MIT
# Copies the shipped settings file to DST only when DST does not exist yet, so the options the
# program saved there (or a user's edits) survive every later configure and build.
if(NOT EXISTS "${DST}")
  get_filename_component(_dir "${DST}" DIRECTORY)
  file(MAKE_DIRECTORY "${_dir}")
  file(COPY_FILE "${SRC}" "${DST}")
endif()
