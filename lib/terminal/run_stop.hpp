// The few ways a run ends. Nothing else in the suite calls exit.
#pragma once

#include <string_view>

// The stop convention: "STOP <text> statement executed" on standard error; an
// empty text writes nothing. Orderly ends exit with status 0; stops that end a
// run because something is wrong pass exitStatus 1, so scripts can tell.
[[noreturn]] void stopRun(std::string_view text, int exitStatus = 0);

// The missing-record stop: " ISAM record with KEY = "<key>" has problems." on
// standard output (trailing blanks and NULs of the key dropped); exit status 1.
[[noreturn]] void missingRecordStop(std::string_view key);

// The orderly stop after a failed open, read or write whose status was checked:
// " FORTRAN error number" + status (I4) + " on unit" + unit (I3) on standard output.
[[noreturn]] void StopOnIoError(int status, int unit);

// The runtime's input/output error report for a failure no caller checked: one
// line on standard error naming the error, the unit and its file; exit status 2.
// The file name is taken from the unit table unless given.
[[noreturn]] void ioErrorReport(int unit, std::string_view what, std::string_view fileName = {});

// A programming error inside the suite (a broken internal contract): a line on
// standard error and exit status 3.
[[noreturn]] void internalErrorStop(std::string_view what);
