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
        "VELDRA_SANITIZED=1")
endif()
