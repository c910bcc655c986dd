# One INTERFACE target that every Vomra target links: language standard, warnings,
# Qt safety defines and the sanitizer switch.
add_library(vomra_options INTERFACE)
target_compile_features(vomra_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(vomra_options INTERFACE -Wall -Wextra -Wold-style-cast -Wno-unused-parameter)
if(VOMRA_WERROR)
  target_compile_options(vomra_options INTERFACE -Werror)
endif()
target_compile_definitions(vomra_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_FOREACH)
if(VOMRA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VOMRA_FUZZ needs clang++ (configure with -DCMAKE_CXX_COMPILER=clang++)")
  endif()
  # Every library gets coverage feedback and the sanitizers; the fuzzer's own main()
  # is linked into the harnesses only (tests/fuzz).
  target_compile_options(vomra_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(vomra_options INTERFACE -fsanitize=address,undefined)
elseif(VOMRA_SANITIZE)
  target_compile_options(vomra_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(vomra_options INTERFACE -fsanitize=address,undefined)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # g++ 12 with the sanitizers at -O1 sees "maybe uninitialized" members inside
    # <regex> and <functional>; the plain build keeps the warning.
    target_compile_options(vomra_options INTERFACE -Wno-maybe-uninitialized)
  endif()
endif()
