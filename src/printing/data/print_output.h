// The printer output of a print-out: the bytes a report sends to its
// printer, written into a print file.
//
// Reports place text at printer rows and columns as they lay it out for the
// printer (row and column 0 are the top left of a page). A row below the
// current one is reached with CR LF, a row above it with a form feed (the
// next page, rows counted from 0 again), a column to the right with blanks;
// a column to the left on the same row starts a new line first. Control
// sequences (the values of the YPR... variables) are written where they
// stand and move neither row nor column.
//
// Text is CP852; it reaches the file through `convert` (the printer's
// letter set, the two-character renderings of Polish letters), control
// sequences unconverted. Writes are buffered; the first failed write is
// reported by Close, which also closes the file.
//
// While a print file is open its writer holds an advisory exclusive lock
// (flock) on it, and readers of finished print files (ReadHold) a shared
// one; DeleteUnheld deletes a print or spool file only when it can take the
// exclusive lock itself, so clearing old print files never removes one that
// another process is still writing or reading.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "platform/base/status.h"

namespace kestrel::printing {

class PrintOutput {
  public:
    using Converter = std::function<std::string(std::string_view cp852)>;

    PrintOutput() = default;
    ~PrintOutput();
    PrintOutput(const PrintOutput&) = delete;
    PrintOutput& operator=(const PrintOutput&) = delete;

    /// Creates `path`, or truncates it when it exists. Busy when another
    /// process holds the file (it is left as it was).
    base::Status Open(const std::string& path, Converter convert = {});
    /// Creates `path` only when no file of that name exists (an exclusive
    /// create): two processes never get one file. Busy when the name is
    /// taken (also when the new file was deleted by another process before
    /// its lock was taken: the caller tries the next name).
    base::Status OpenNew(const std::string& path, Converter convert = {});
    /// Writes into memory instead of a file, for a printout that is
    /// rendered straight away; after Close() the bytes are in memory().
    base::Status OpenMemory(Converter convert = {});
    const std::string& memory() const { return memory_; }
    bool is_open() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }

    /// Text at printer row `row`, column `col`.
    void Say(int row, int col, std::string_view text);
    /// Text at the current position.
    void Text(std::string_view text);
    /// A control sequence at the current position.
    void Control(std::string_view sequence);
    /// CR LF: the next row, column 0.
    void NewLine();
    /// A form feed: row and column 0 of the next page.
    void Eject();
    /// Sets the position without writing anything (after a report wrote
    /// what moves the head itself).
    void SetPosition(int row, int col);
    int row() const { return row_; }
    int col() const { return col_; }
    /// Bytes written so far.
    long bytes() const { return bytes_; }

    /// Flushes and closes; the first write error, if any.
    base::Status Close();

  private:
    base::Status OpenWith(const std::string& path, Converter convert, bool exclusive);
    void Put(std::string_view bytes);
    void MoveTo(int row, int col);

    std::FILE* file_ = nullptr;
    std::string path_;
    char* memory_buffer_ = nullptr;  // open_memstream's, while open in memory
    size_t memory_size_ = 0;
    std::string memory_;
    Converter convert_;
    int row_ = 0;
    int col_ = 0;
    long bytes_ = 0;
    int error_ = 0;
};

/// A finished print or spool file opened for reading, with the shared lock
/// that keeps DeleteUnheld away while it is read.
class ReadHold {
  public:
    ReadHold() = default;
    ~ReadHold();
    ReadHold(const ReadHold&) = delete;
    ReadHold& operator=(const ReadHold&) = delete;

    /// NotFound when the file is missing, Busy while a writer holds it.
    base::Status Open(const std::string& path);
    /// Reads up to `size` bytes; the count (0 at the end), -1 on an error.
    long Read(char* buffer, size_t size);
    void Close();
    bool is_open() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

/// Deletes print or spool file `path` when no other process holds it open
/// through PrintOutput or ReadHold. Ok when it was deleted or did not exist;
/// Busy when it is held; an IOError when it cannot be deleted.
base::Status DeleteUnheld(const std::string& path);

}  // namespace kestrel::printing
