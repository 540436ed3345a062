// FileBackup: a byte copy of a notes file, made while the file is closed (before it is
// opened for writing and after every save), so that a save whose file does not pass the
// structure check can be undone. The copy lies beside the file as "<file>.bak" (in the
// temporary folder when the file's own folder takes no new file) and is deleted when the
// object goes; one left by a process that died is taken over by the next copy.
#pragma once
#include <windows.h>
#include <string>

class FileBackup {
public:
    FileBackup() = default;
    FileBackup(const FileBackup&) = delete;
    FileBackup& operator=(const FileBackup&) = delete;
    ~FileBackup() { Discard(); }

    // Copies the file; an earlier copy is replaced. The error of copying when there is
    // none afterwards.
    HRESULT Make(const std::wstring& file);
    // Puts the copy back over the file it was made of; the copy stays.
    HRESULT Restore() const;
    void Discard();
    // Forgets the copy without deleting it.
    void Abandon() { copy_.clear(); file_.clear(); }
    bool IsMade() const { return !copy_.empty(); }

private:
    std::wstring file_, copy_;
};
