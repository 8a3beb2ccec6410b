# Link settings of the browser build (tools/scripts/build-web.sh configures it).
# The game becomes quorin.js + quorin.wasm for the page; every other program
# (the build-time tools, quorin-sim) runs under Node on the real files.
set(web_dir ${CMAKE_CURRENT_LIST_DIR})

function(quorin_collect_executables dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    quorin_collect_executables(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()
quorin_collect_executables(${PROJECT_SOURCE_DIR} all_targets)

# Node programs: synchronous start (node 20's fetch cannot load a local
# .wasm), the process's own files and folders, memory as needed.
set(node_options -sNODERAWFS=1 -sENVIRONMENT=node -sWASM_ASYNC_COMPILATION=0 -sALLOW_MEMORY_GROWTH=1
    -sEXIT_RUNTIME=1 -sTOTAL_STACK=8388608)
# The busy-frame benchmark runs in a browser page as well
# (tools/web/bench.js), so it keeps to its own memory.
set(bench_options -sENVIRONMENT=web,node -sWASM_ASYNC_COMPILATION=0 -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1
    -sTOTAL_STACK=8388608)
foreach(t ${all_targets})
  get_target_property(type ${t} TYPE)
  if(NOT type STREQUAL "EXECUTABLE" OR t STREQUAL "quorin")
    continue()
  elseif(t STREQUAL "quorin_busy_frame")
    target_link_options(${t} PRIVATE ${bench_options})
  else()
    target_link_options(${t} PRIVATE ${node_options})
  endif()
endforeach()

# The page: SDL's emscripten back end wants the JS helpers of
# library-funcs.json (a file: their names start with $, which the build tool
# would mangle) when SDL is linked as a plain library; the saved files live
# in IndexedDB (IDBFS).
target_link_options(quorin PRIVATE
  -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sTOTAL_STACK=8388608 -sEXIT_RUNTIME=0 -lidbfs.js
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${web_dir}/library-funcs.json
  "-sEXPORTED_FUNCTIONS=[\"_main\",\"_malloc\",\"_free\",\"_quorin_page_hidden\",\"_quorin_test_step\",\"_quorin_picture\",\"_quorin_status\"]"
  "-sEXPORTED_RUNTIME_METHODS=[\"FS\",\"HEAPU8\",\"HEAP32\",\"UTF8ToString\"]"
  --pre-js ${web_dir}/pre.js)
set_property(TARGET quorin APPEND PROPERTY LINK_DEPENDS ${web_dir}/pre.js)
