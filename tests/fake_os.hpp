// SPDX-License-Identifier: MIT
// A file layer for tests of the checked image file: the real C runtime, with
// failures and interrupts injected where a test asks for them. It stops the
// test on misuse that a real system punishes: closing the image twice or
// writing it after closing, holding interrupts twice (a Windows lock is not
// recursive), or naming what an interrupt deletes without holding them. Like
// Windows, it refuses to delete the image while it is open.
#pragma once

namespace fake_os {

// Where an interrupt comes: just after that call returns, as a signal does.
enum class Moment { none, create, write, sync, close, remove };

struct Faults {
    long max_write = 0;       // cap on each write's count, to force short writes; 0: none
    int fail_write_call = 0;  // the 1-based write call that fails; 0: none
    long failed_result = -1;  // what that call returns: -1 (with write_errno) or a count
    int write_errno = 0;      // errno of a failing write returning -1
    int sync_errno = 0;       // sync fails with this errno; 0: succeeds
    int close_errno = 0;      // close really closes, then fails with this errno
    int remove_errno = 0;     // remove fails with this errno and deletes nothing
    Moment interrupt_at = Moment::none;
    int interrupt_write_call = 1;  // with Moment::write, after which write call
};

// How an interrupt ends the process, once it has deleted what it was told to.
inline constexpr int interrupted_status = 130;

extern Faults faults;
extern int write_calls;
extern int sync_calls;

void reset();

}  // namespace fake_os
