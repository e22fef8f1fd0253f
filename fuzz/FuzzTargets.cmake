# What each fuzz target is built from. Used by fuzz/ for the libFuzzer
# programs and by tests/fuzz/ for the programs that replay the regressions.
set(RENVIKA_FUZZ_TARGETS fuzz_blocks fuzz_render fuzz_commandfile fuzz_settings)

function(renvika_add_fuzz_target_sources executable target)
  set(dir ${PROJECT_SOURCE_DIR}/fuzz)
  target_sources(${executable} PRIVATE ${dir}/${target}.cpp ${dir}/fuzzinput.h)
  target_include_directories(${executable} PRIVATE ${dir})
  if(target STREQUAL "fuzz_render")
    target_link_libraries(${executable} PRIVATE renvika_common)
    target_compile_definitions(${executable} PRIVATE
      RENVIKA_GLYPHSHEET_PNG="${PROJECT_SOURCE_DIR}/assets/glyphsheet.png")
  else()
    target_link_libraries(${executable} PRIVATE renvika_editor_core)
  endif()
endfunction()
