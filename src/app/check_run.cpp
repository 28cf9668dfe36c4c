#include "app/check_run.h"

#include "check/game_check.h"

#include <string>

namespace orv {

namespace {

// On a terminal one line counts up in place; in a log each archive gets one line, so that
// the log does not fill with counts.
class ConsoleReport : public CheckReport {
public:
    ConsoleReport(std::ostream& out, std::ostream& err, bool errIsTerminal)
        : m_out(out), m_err(err), m_terminal(errIsTerminal) {}
    ~ConsoleReport() override { EndProgressLine(); }

    void Problem(std::string_view line) override {
        EndProgressLine();
        m_out << line << '\n' << std::flush;
    }

    void Progress(std::string_view archive, size_t done, size_t total) override {
        if (!m_terminal) {
            if (done == 1) {
                m_err << "checking " << archive << " (" << total
                      << (total == 1 ? " entry)\n" : " entries)\n");
            }
            return;
        }
        // Every entry would cost more in writing than in checking.
        if (done % 16 != 0 && done != total) {
            return;
        }
        m_err << "\rchecking " << archive << ": " << done << " of " << total << "\x1b[K"
              << std::flush;
        m_progressShown = true;
    }

    void EndProgressLine() {
        if (m_progressShown) {
            m_err << "\r\x1b[K" << std::flush;
            m_progressShown = false;
        }
    }

private:
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_terminal;
    bool m_progressShown = false;
};

} // namespace

int RunCheck(const std::filesystem::path& gameDirectory, std::ostream& out, std::ostream& err,
             bool errIsTerminal) {
    CheckSummary summary;
    {
        ConsoleReport report(out, err, errIsTerminal);
        summary = CheckGame(gameDirectory, report);
    }
    out << "orvell --check " << gameDirectory.string() << ": " << SummaryLine(summary) << '\n';
    return summary.LooksPlayable() ? 0 : 1;
}

} // namespace orv
