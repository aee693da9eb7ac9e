// A print system for tests: queues given by the test, jobs recorded with a
// copy of what was sent.
#pragma once

#include <string>
#include <vector>

#include "platform/base/files.h"
#include "printing/data/print_system.h"

namespace kestrel::printing::testing {

class FakePrintSystem : public PrintSystem {
  public:
    struct Job {
        std::string queue;
        bool raw = false;
        std::string file;      // the path sent
        std::string contents;  // what it held then
    };

    bool reachable = true;
    std::vector<std::string> queues;
    std::string default_queue;
    int fail_with = 0;  // exit code of a failing lp, 0 = success
    std::vector<Job> jobs;
    int asked = 0;  // how often the queues were listed

    bool Queues(std::vector<std::string>* out) override {
        ++asked;
        *out = reachable ? queues : std::vector<std::string>{};
        return reachable;
    }
    std::string DefaultQueue() override { return reachable ? default_queue : ""; }
    base::Status Submit(const std::string& queue, const std::string& file, bool raw,
                        std::string* job) override {
        if (fail_with != 0)
            return base::Status::IOError("exit " + std::to_string(fail_with) + ": refused");
        Job j{queue, raw, file, ""};
        (void)base::ReadFile(file, &j.contents);
        jobs.push_back(j);
        if (job != nullptr) *job = queue + "-" + std::to_string(jobs.size());
        return base::Status::Ok();
    }
};

}  // namespace kestrel::printing::testing
