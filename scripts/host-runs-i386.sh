#!/usr/bin/env bash
# Tells whether this host executes i386 code, by running a tiny static i386
# program, not by guessing from the kernel's name. Some x86-64 kernels and
# hypervisors run 64-bit user code only; there no i386 program runs, the
# 32-bit Wine loader included.
# Exit 0: it does. Exit 1: it does not, and one line on standard output says
# why. Needs only the host's assembler and linker.
set -uo pipefail
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# _exit(7) through the i386 system call gate.
printf '.globl _start\n_start:\n movl $1, %%eax\n movl $7, %%ebx\n int $0x80\n' >"$dir/probe.s"
if ! as --32 "$dir/probe.s" -o "$dir/probe.o" 2>"$dir/err" ||
   ! ld -m elf_i386 "$dir/probe.o" -o "$dir/probe" 2>>"$dir/err"; then
  echo "the host's assembler cannot make an i386 program ($(head -n 1 "$dir/err"))"
  exit 1
fi
"$dir/probe" 2>"$dir/err"
code=$?
[ "$code" -eq 7 ] && exit 0
if [ "$code" -eq 126 ]; then
  echo "this host's kernel does not execute i386 programs (a static i386 program gives \"Exec format error\")"
else
  echo "a static i386 program did not run as it should on this host (exit code $code)"
fi
exit 1
