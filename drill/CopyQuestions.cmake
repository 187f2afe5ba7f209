# Copies the bundled question files, if the tree has any, beside the program.
if(EXISTS "${FROM}")
  file(COPY "${FROM}/" DESTINATION "${TO}")
endif()
