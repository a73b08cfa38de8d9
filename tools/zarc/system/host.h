// What differs between the systems zarc runs on. Entry names are always code page 932 bytes; the
// names that zarc receives (arguments, paths) and writes (extracted files) are in the host's own
// form: UTF-8 on POSIX, code page 932 on Windows (the entry point converts UTF-16 to it).
#pragma once

#include <string>

namespace zarc {

// The code page 932 entry name for a name in the host's form. False if it has no such form.
bool EntryNameFromHost(const std::string& host, std::string* entry);

// The host's form of an entry name, for a file to write. False if the bytes are not code page 932.
bool HostNameFromEntry(const std::string& entry, std::string* host);

// An entry name as UTF-8 for the console; bytes that do not convert appear as \xNN.
std::string ShowEntryName(const std::string& entry);

// A name in the host's form as UTF-8 for the console.
std::string ShowHostName(const std::string& host);

// The file name at the end of a path in the host's form (after its last folder separator).
std::string HostBaseName(const std::string& path);

// folder and name joined by the host's separator; name alone when folder is empty.
std::string JoinHostPath(const std::string& folder, const std::string& name);

// True when standard error is a terminal (a console on Windows), where a person watches progress.
bool StandardErrorIsTerminal();

// The folder of the running zarc program in the host's form; empty when it cannot be told.
std::string ProgramFolder();

// Text in the host's form, or in code page 932, as UTF-16. False when it does not convert.
bool Utf16FromHost(const std::string& host, std::u16string* text);
bool Utf16FromEntry(const std::string& entry, std::u16string* text);

// UTF-8 text as code page 932, by the system's own tables. False when any character has no exact
// code page 932 form (one that converts back to the same character; no best-fit look-alike) or the
// bytes are not UTF-8; *cp932 is then unchanged.
bool Cp932FromUtf8(const std::string& utf8, std::string* cp932);

}  // namespace zarc
