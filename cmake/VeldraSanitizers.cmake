# AddressSanitizer + UndefinedBehaviorSanitizer for every target of this project, and the
# environment the tests run with in that build: any report fails the test.
set(VELDRA_SANITIZER_ENVIRONMENT "")
if(VELDRA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
    set(suppressions "${CMAKE_CURRENT_LIST_DIR}/../tests/support/sanitizers")
    set(VELDRA_SANITIZER_ENVIRONMENT
        "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:suppressions=${suppressions}/asan.supp"
        "LSAN_OPTIONS=suppressions=${suppressions}/lsan.supp:print_suppressions=0:report_objects=0"
        "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=${suppressions}/ubsan.supp"
        # Qt WebEngine creates a shared OpenGL context when any application starts; Mesa's GLX
        # driver keeps a block from that and is unloaded before exit, so the block looks leaked
        # from an unknown module no suppression can name. Areas without a web view need no
        # OpenGL at all; the web-view areas, not leak-checked, get it back.
        "QT_XCB_GL_INTEGRATION=none"
        "VELDRA_SANITIZED=1")
endif()
