# Sources are found by glob so that adding a file to a subsystem needs no edit here.
function(velmora_glob_sources out dir)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/${dir}/*.cpp ${PROJECT_SOURCE_DIR}/${dir}/*.h)
  set(${out} ${found} PARENT_SCOPE)
endfunction()
