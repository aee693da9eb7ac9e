// The files of one run of the bank files, written under temporary names in
// the output directory and given their names only when all of them are
// complete.
//
//   PendingFiles files(dir);
//   if (!files.Create("EL261210.PLI")) fail;    // writes dir/~EL261210.PLI
//   files.WriteLine(0, text);                   // text + CR LF
//   if (!files.Commit(&failed)) fail;           // every file renamed, or none
//
// Until Commit() succeeds the files stay temporary; the destructor closes
// and deletes whatever was not committed, so a run that stops on an error or
// an interruption leaves no file under a final name.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::payroll::bank {

class PendingFiles {
  public:
    /// `dir` ends in "/".
    explicit PendingFiles(std::string dir) : dir_(std::move(dir)) {}
    ~PendingFiles();
    PendingFiles(const PendingFiles&) = delete;
    PendingFiles& operator=(const PendingFiles&) = delete;

    /// The temporary name of a file: "~" + its name.
    static std::string TemporaryName(std::string_view name) { return "~" + std::string(name); }

    /// Creates file `name` (the next index) as its temporary file; a
    /// temporary file of that name left by an earlier run is replaced. False
    /// when it cannot be created.
    bool Create(const std::string& name);
    const std::string& name(size_t i) const { return files_[i].name; }
    size_t size() const { return files_.size(); }

    /// Writes `text` and CR LF to file `i`. A failed write is reported by
    /// Commit().
    void WriteLine(size_t i, std::string_view text);

    /// Closes every file and renames each to its name (replacing a file of
    /// that name). False with *failed the name of the file whose writing or
    /// renaming failed: then no file of the run keeps its name (those
    /// renamed already are deleted) and the temporary files are deleted.
    bool Commit(std::string* failed);

  private:
    struct File {
        std::string name;
        std::FILE* stream = nullptr;
        bool renamed = false;
    };
    void Discard();

    std::string dir_;
    std::vector<File> files_;
    bool committed_ = false;
};

}  // namespace kestrel::payroll::bank
