// The printers of this machine: the queues of its CUPS server.
//
// A printer definition names a queue; the queues that exist are listed with
// `lpstat -e`, the default one with `lpstat -d`, and a finished print file
// goes to a queue with `lp -d QUEUE -o raw FILE` (the printer understands
// the file's control sequences) or, for a queue that takes PDF, `lp -d
// QUEUE FILE.pdf`. The commands run as child processes (no shell) with a
// time limit; a server that is down or missing is an answer like any other
// and never stops the program.
#pragma once

#include <string>
#include <vector>

#include "platform/base/status.h"

namespace kestrel::printing {

class PrintSystem {
  public:
    virtual ~PrintSystem() = default;
    /// The queues; false when the print system cannot be asked (no server,
    /// no commands, no answer in time).
    virtual bool Queues(std::vector<std::string>* queues) = 0;
    /// The default queue, "" when there is none or no answer.
    virtual std::string DefaultQueue() = 0;
    /// Sends `file` to `queue`, unchanged when `raw`. On success *job is
    /// the job's id ("LASER-12"); a failure carries the exit code of the
    /// command in its message ("exit 1: ...").
    virtual base::Status Submit(const std::string& queue, const std::string& file, bool raw,
                                std::string* job) = 0;
};

/// The CUPS commands of this machine (lp and lpstat found through PATH;
/// the server is the one CUPS_SERVER names, or the local one).
class CupsPrintSystem : public PrintSystem {
  public:
    explicit CupsPrintSystem(int timeout_seconds = 10) : timeout_(timeout_seconds) {}
    bool Queues(std::vector<std::string>* queues) override;
    std::string DefaultQueue() override;
    base::Status Submit(const std::string& queue, const std::string& file, bool raw,
                        std::string* job) override;

  private:
    int timeout_;
};

/// The CUPS of this machine, for the screens (stateless).
PrintSystem& LocalPrinters();

/// What a child process gave back.
struct CommandResult {
    bool started = false;    // the program could be run
    bool timed_out = false;  // killed at the time limit
    int exit_code = -1;      // its exit status (-1 when killed or not run)
    std::string out;         // standard output
    std::string err;         // standard error
};

/// Runs `argv` (argv[0] found through PATH) with the C locale and no
/// standard input; kills it after `timeout_seconds`.
CommandResult RunCommand(const std::vector<std::string>& argv, int timeout_seconds);

/// Parses `lpstat -d`: "system default destination: NAME" gives NAME.
std::string ParseDefaultQueue(const std::string& lpstat_d);
/// Parses `lp`: "request id is NAME-12 (1 file(s))" gives "NAME-12".
std::string ParseJobId(const std::string& lp_out);

}  // namespace kestrel::printing
