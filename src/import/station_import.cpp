#include "import/station_import.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "import/directory_writer.h"

namespace moltrevane {
namespace {

constexpr std::size_t kPieceBytes = 256 * 1024;
constexpr std::size_t kHeadBytes = 64 * 1024;

// One list file, read in pieces; a FIFO or a device is refused rather than waited on.
class ListFile {
public:
    explicit ListFile(const std::filesystem::path& path) : fd_(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
        struct stat status {};
        if (fd_ < 0) error_ = std::strerror(errno);
        else if (fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) error_ = "is no plain file";
        else size_ = static_cast<std::size_t>(status.st_size);
    }
    ~ListFile() {
        if (fd_ >= 0) close(fd_);
    }
    ListFile(const ListFile&) = delete;
    ListFile& operator=(const ListFile&) = delete;

    const std::string& Error() const { return error_; }
    std::size_t Size() const { return size_; }
    std::size_t Done() const { return done_; }

    std::string Head() {
        std::string head(kHeadBytes, '\0');
        const ssize_t got = pread(fd_, head.data(), head.size(), 0);
        head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return head;
    }

    std::string_view Next() {
        if (error_.size() != 0) return {};
        const ssize_t got = read(fd_, piece_.data(), piece_.size());
        if (got < 0) {
            if (errno == EINTR) return Next();
            error_ = std::strerror(errno);
            return {};
        }
        done_ += static_cast<std::size_t>(got);
        return {piece_.data(), static_cast<std::size_t>(got)};
    }

private:
    int fd_;
    std::string error_;
    std::size_t size_ = 0, done_ = 0;
    std::string piece_ = std::string(kPieceBytes, '\0');
};

bool Stopped(const ImportOptions& options) { return options.stop != nullptr && options.stop->load(); }

// Reads one file into the writer; the error names the file.
std::string ImportFile(const std::filesystem::path& path, std::size_t index, const ImportOptions& options,
                       DirectoryWriter& writer, FileReport& report) {
    const std::string name = path.filename().string();
    ListFile file(path);
    if (!file.Error().empty()) return name + ": " + file.Error();
    std::optional<ListFormat> format = options.format ? options.format : DetectFormat(file.Head());
    if (!format) return name + ": is no station list (it holds bytes no text has)";
    report.format = *format;
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastProgress = Clock::now();
    const auto next = [&]() -> std::string_view {
        if (Stopped(options)) return {};
        if (options.progress && Clock::now() - lastProgress > std::chrono::milliseconds(100)) {
            lastProgress = Clock::now();
            options.progress(index, file.Size() ? static_cast<double>(file.Done()) / file.Size() : 1.0);
        }
        return file.Next();
    };
    bool failed = false;
    const auto onStation = [&](const ListedStation& station) {
        if (Stopped(options)) return false;
        const RowOutcome outcome = RowOf(station, SourceName(report.format), options.includeInactive);
        if (!outcome.row) {
            ++(outcome.reason == SkipReason::NoCall       ? report.noCall
               : outcome.reason == SkipReason::NotWorking ? report.notWorking
                                                          : report.noPosition);
            return true;
        }
        switch (writer.Add(*outcome.row)) {
            case DirectoryWriter::Added::New:
                ++report.stations;
                report.fromSquare += outcome.fromSquare ? 1 : 0;
                return true;
            case DirectoryWriter::Added::Duplicate: ++report.duplicates; return true;
            case DirectoryWriter::Added::Failed: failed = true; return false;
        }
        return false;
    };
    const std::string error = ReadStationList(report.format, next, onStation);
    if (Stopped(options)) return name + ": interrupted";
    if (failed) return writer.Error();
    if (!file.Error().empty()) return name + ": " + file.Error();
    if (!error.empty()) return name + ": " + error;
    // Valid JSON or CSV without a single station is no list: it must not empty the directory.
    if (report.stations + report.noCall + report.notWorking + report.noPosition + report.duplicates == 0)
        return name + ": holds no stations";
    if (options.progress) options.progress(index, 1.0);
    return {};
}

}  // namespace

ImportOutcome ImportStations(std::span<const std::filesystem::path> files, const std::filesystem::path& target,
                             const ImportOptions& options) {
    ImportOutcome outcome;
    std::unique_ptr<DirectoryWriter> writer = DirectoryWriter::Begin(target, outcome.error);
    if (!writer) return outcome;
    for (std::size_t i = 0; i < files.size(); ++i) {
        outcome.files.push_back({.name = files[i].filename().string()});
        outcome.error = ImportFile(files[i], i, options, *writer, outcome.files.back());
        if (!outcome.error.empty()) return outcome;
    }
    if (Stopped(options)) return outcome.error = "interrupted", outcome;
    outcome.error = writer->Commit();
    outcome.keptOld = writer->KeptOld();
    outcome.oldPath = writer->OldPath();
    return outcome;
}

std::string ReportLine(const FileReport& report) {
    std::string skips;
    const auto skip = [&](std::size_t count, const char* reason) {
        if (count > 0) skips += (skips.empty() ? ": " : ", ") + std::to_string(count) + " " + reason;
    };
    skip(report.notWorking, "not working");
    skip(report.noPosition, "without a position");
    skip(report.noCall, "without a call");
    skip(report.duplicates, report.duplicates == 1 ? "duplicate" : "duplicates");
    const std::size_t skipped = report.notWorking + report.noPosition + report.noCall + report.duplicates;
    return report.name + ": " + std::to_string(report.stations) + (report.stations == 1 ? " station (" : " stations (") +
           std::to_string(skipped) + " skipped" + skips + "; " + std::to_string(report.fromSquare) +
           " placed from a 4-character locator)";
}

std::string ReportText(const ImportOutcome& outcome) {
    if (!outcome.error.empty()) return outcome.error + "\nThe station directory was left as it was.";
    std::string text;
    for (const FileReport& file : outcome.files) text += ReportLine(file) + "\n";
    if (outcome.keptOld) text += "The directory before was kept as " + outcome.oldPath.string() + ".";
    else text += "There was no directory before.";
    return text;
}

}  // namespace moltrevane
