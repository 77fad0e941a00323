# The layers and what each may include. Each layer compiles against an include root of its
# own that holds only the folders it may name (links into src/), so that an upward include
# (text/ naming app/, say) is a build error rather than a habit. Consumers of a layer get
# that layer's root too, which holds nothing above it.
set(YB_LAYERS_platform platform)
set(YB_LAYERS_settings settings platform)
set(YB_LAYERS_archive archive settings platform)
set(YB_LAYERS_text text settings platform)
set(YB_LAYERS_layout layout text settings platform)
set(YB_LAYERS_render render layout text settings platform)
set(YB_LAYERS_library library settings archive platform)
set(YB_LAYERS_cli cli render layout text library settings archive platform)
# The archiver modules are built from the archive sources and the limits header alone.
set(YB_LAYERS_archiver archive platform)

# yb_layer_root(NAME OUT): the include root of a layer, made at configure time.
function(yb_layer_root name out)
    set(root ${CMAKE_BINARY_DIR}/layer_roots/${name})
    file(REMOVE_RECURSE ${root})
    file(MAKE_DIRECTORY ${root})
    foreach(allowed IN LISTS YB_LAYERS_${name})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${allowed} ${root}/${allowed} SYMBOLIC)
    endforeach()
    set(${out} ${root} PARENT_SCOPE)
endfunction()

# yb_add_layer(NAME DEPENDS libs...): a static library from src/NAME/*.cpp.
function(yb_add_layer name)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp)
    list(FILTER sources EXCLUDE REGEX "/src/${name}/modules/")
    yb_layer_root(${name} root)
    if(sources)
        add_library(yb_${name} STATIC ${sources})
        target_include_directories(yb_${name} PUBLIC ${root})
        target_compile_options(yb_${name} PRIVATE ${YB_WARNINGS})
        target_link_libraries(yb_${name} PUBLIC ${ARG_DEPENDS})
    else()
        add_library(yb_${name} INTERFACE)
        target_include_directories(yb_${name} INTERFACE ${root})
        target_link_libraries(yb_${name} INTERFACE ${ARG_DEPENDS})
    endif()
endfunction()

# yb_add_layer_probes(): CTest cases that compile one include of a layer above with a
# layer's own include directories and expect the compiler to refuse it, beside one legal
# include that must compile (so that the refusal is the layering, not a broken probe).
function(yb_add_layer_probes)
    set(probe ${CMAKE_SOURCE_DIR}/tests/layers/include_probe.cpp)
    # layer, header it must not reach, header it may reach
    set(cases
        "platform:settings/txt_param.h:platform/limits.h"
        "settings:text/txt_document.h:platform/limits.h"
        "archive:text/txt_document.h:settings/file_io.h"
        "text:layout/txt_layout.h:settings/txt_param.h"
        "layout:render/page_canvas.h:text/txt_document.h"
        "render:app/main_window.h:layout/txt_layout.h"
        "library:text/txt_document.h:settings/csv_text.h")
    foreach(entry IN LISTS cases)
        string(REPLACE ":" ";" case ${entry})
        list(GET case 0 layer)
        list(GET case 1 above)
        list(GET case 2 below)
        set(includes "$<TARGET_PROPERTY:yb_${layer},INCLUDE_DIRECTORIES>")
        set(command ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only
            "-I$<JOIN:${includes},$<SEMICOLON>-I>" ${probe})
        add_test(NAME layers.${layer}_refuses_upward
                 COMMAND ${command} -DYB_PROBE_HEADER=${above} COMMAND_EXPAND_LISTS)
        string(REPLACE "/" "." escaped ${above})
        set_tests_properties(layers.${layer}_refuses_upward PROPERTIES
            PASS_REGULAR_EXPRESSION "${escaped}: No such file")
        add_test(NAME layers.${layer}_reaches_downward
                 COMMAND ${command} -DYB_PROBE_HEADER=${below} COMMAND_EXPAND_LISTS)
    endforeach()
endfunction()
