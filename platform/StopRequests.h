#pragma once
// Requests from outside to stop the program: Ctrl+C, and on POSIX also SIGTERM and SIGHUP (a
// service manager stopping the job, a closed terminal); on Windows also the console's close,
// log-off and shut-down events.

namespace mx::platform {

/// Starts counting stop requests instead of letting them end the program.
void InstallStopRequestHandlers();
/// Lets stop requests end the program again.
void RemoveStopRequestHandlers();
/// How many stop requests arrived since InstallStopRequestHandlers; safe from any thread.
int StopRequestCount();
/// The exit status of a program the first stop request ended, as the system reports it: on
/// POSIX 128 plus the signal's number (130 for Ctrl+C, 143 for SIGTERM, 129 for SIGHUP), on
/// Windows the status of a console program ended by Ctrl+C (STATUS_CONTROL_C_EXIT).
int StopExitStatus();
/// Ends the program at once, as an unhandled Ctrl+C would.
[[noreturn]] void EndByInterrupt();
/// A write that reaches the process's file-size limit fails with an error instead of ending the
/// program (POSIX sends SIGXFSZ otherwise); nothing to do on Windows.
void TreatFileSizeLimitAsWriteError();

}  // namespace mx::platform
