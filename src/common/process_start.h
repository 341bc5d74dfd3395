#pragma once

namespace zarame {

// What a program does first, before anything opens a file: each of descriptors 0, 1 and 2 that
// is closed is opened on /dev/null, so that no file of the run (the template, an item) can take
// one of them and receive what is meant for a standard stream; and SIGXFSZ is ignored, so that a
// file-size limit fails the one write (EFBIG, an error the run reports and cleans up after)
// instead of killing the program with a truncated item left behind. False when /dev/null could
// not be opened.
bool PrepareProcess();

}  // namespace zarame
