#pragma once

// Status: the result of every bitmap and codec operation, with the numbers the program's code
// knows them by.

namespace imaging {

enum Status {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    Win32Error = 7,  // The file system refused a read or a write.
    WrongState = 8,  // The bitmap is locked, or unlocked without a lock.
    FileNotFound = 10,
    UnknownImageFormat = 13,
};

}  // namespace imaging
