#!/usr/bin/env bash
# Veldra inside another CMake project: a parent with a target of its own named Core includes
# Veldra with add_subdirectory. Veldra's targets must not collide with the parent's, its tests
# and benchmarks must be off by default there, and the core library must build.
#   subproject.sh <Veldra source folder> <work folder> [compiler launcher]
set -euo pipefail

source_dir=$1
work=$2
launcher=${3:-}

rm -rf "$work"
mkdir -p "$work/parent"
echo 'int parentCore() { return 1; }' >"$work/parent/core.cpp"
cat >"$work/parent/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.16)
project(Parent LANGUAGES CXX)
add_library(Core STATIC core.cpp)
add_subdirectory("$source_dir" veldra)
foreach(target IN ITEMS Veldra::Core Veldra::ExtensionSystem)
    if(NOT TARGET \${target})
        message(FATAL_ERROR "Veldra defines no target \${target}")
    endif()
endforeach()
if(TARGET tst_startup OR TARGET bench_download)
    message(FATAL_ERROR "Veldra builds its tests or benchmarks by default as a sub-project")
endif()
CMAKE

cmake -S "$work/parent" -B "$work/build" -G Ninja ${launcher:+"-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher"}
cmake --build "$work/build" -j2 --target Core VeldraCore
