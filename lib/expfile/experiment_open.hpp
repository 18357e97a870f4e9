// Opening an experiment: its name from the command line or a prompt, the
// experiment file opened and checked (end record, version), and the choice of
// the listing (the ".LST" file, appended, or the terminal).
#pragma once

#include <string>
#include <string_view>
#include <vector>

// What STRTRN leaves the caller.
struct OpenExperiment {
  std::string name;       // experiment name, upper case, without ".EXP"
  std::string directory;  // current working directory
  std::string fileName;   // name + ".EXP"
  int asked = 0;          // 1: the name was typed at the prompt; 0: command line
  int expUnit = 0;        // in: proposed unit; out: unit of the open store
  int listUnit = 0;       // in: proposed unit; out: listing unit (6 = terminal)
  int termUnit = 6;       // always standard output
};

// The experiment name. With at least one argument (the command-line arguments
// after the program name) the first one (up to 255 characters) is upper-cased
// and cut at its first blank, and a trailing ".EXP" is dropped; asked = 0.
// Otherwise it asks "Enter the experiment name for <program name>" (the name cut
// to 20 characters) until the answer is not empty; the answer is upper-cased
// and cut at its first blank; asked = 1. directory gets the working directory.
void GetExperimentName(std::string_view programName, const std::vector<std::string>& arguments,
                       std::string& name, std::string& directory, int& asked);

// Opens the experiment file on FindFreeUnit from the proposed unit and checks
// its version. Modes "READ" and "NOTNEEDED" open it read-only; other modes open
// an existing file for reading and writing, "NEW" creating it when missing.
// status: 0 when opened, else the open's error number (unit then stays closed).
// An old version warns (the file is read as it is); a later version stops the
// run with "Program terminated in OPNEXP".
void OPNEXP(std::string_view mode, const std::string& fileName, int& unit, int& status);

// The listing choice: with asked = 0 and listOption "LIST", the ".LST" file of
// the experiment is opened for appending (created when missing) on FindFreeUnit
// from the proposed listUnit; otherwise listUnit becomes the terminal, 6. A
// listing file that cannot be opened ends the run with a message and the
// input/output failure stop.
void OpenListing(const std::string& name, int asked, std::string_view listOption, int& listUnit);

// Opens the experiment for a program of this system. Mode "READ" (or
// "NOTNEEDED"): the file is opened read-only and never changed. Fills
// experiment (expUnit and listUnit are taken as proposals). Returns only when
// the experiment is open; a missing file gives " ERROR - File <file> does not
// exist - check your directory" and the input/output failure stop; a file
// without the end record stops with " Run terminated in STRTRN" (not for the
// program "SETUPR"). Other modes (creating, repairing, copying) are not part
// of this library yet and end the run as an internal error.
void STRTRN(std::string_view programName, std::string_view mode, std::string_view listOption,
            const std::vector<std::string>& arguments, OpenExperiment& experiment);
