#include "list/JobFile.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "list/EntryReader.h"
#include "platform/desktop/AtomicFile.h"
#include "platform/desktop/Translation.h"

namespace tomefuse {

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// Relative to folder when inside it, else absolute.
std::string storedPath(const std::string& path, const std::string& folder) {
    const fs::path file = fs::path(path).lexically_normal();
    const fs::path base = fs::path(folder).lexically_normal();
    const fs::path relative = file.lexically_relative(base);
    if (!folder.empty() && !relative.empty() && *relative.begin() != "..") {
        return relative.generic_string();
    }
    return file.generic_string();
}

std::string readPath(const std::string& stored, const std::string& folder) {
    const fs::path path(stored);
    return (path.is_absolute() ? path : fs::path(folder) / path).lexically_normal().string();
}

template <typename T>
void putOptional(json& out, const char* key, const std::optional<T>& value) {
    if (value) {
        out[key] = *value;
    }
}

void putText(json& out, const char* key, const std::string& value) {
    if (!value.empty()) {
        out[key] = value;
    }
}

// A value of the right type, or the fallback when absent; a value of another type is damage.
template <typename T>
T take(const json& from, const char* key, T fallback) {
    auto found = from.find(key);
    return found == from.end() || found->is_null() ? fallback : found->get<T>();
}

// Degrees as 0, 90, 180 or 270; what is not a quarter turn is damage.
int quarterTurn(int degrees) {
    if (degrees % 90 != 0) {
        throw std::runtime_error("a rotation that is not a quarter turn");
    }
    return ((degrees % 360) + 360) % 360;
}

}  // namespace

std::string jobText(const Job& job, const std::string& folder) {
    json entries = json::array();
    for (const JobEntry& entry : job.entries) {
        json item = {{"path", storedPath(entry.path, folder)}, {"name", entry.name}};
        if (entry.pages != "all") {
            item["pages"] = entry.pages;
        }
        if (entry.rotation != 0) {
            item["rotation"] = entry.rotation;
        }
        for (const JobPagesTurn& turn : entry.pageRotations) {
            item["pageRotations"].push_back({{"pages", turn.pages}, {"rotation", turn.rotation}});
        }
        if (!entry.interleavePath.empty()) {
            item["interleave"] = {{"path", storedPath(entry.interleavePath, folder)},
                                  {"reversed", entry.interleaveReversed}};
        }
        entries.push_back(std::move(item));
    }
    json options = json::object();
    putOptional(options, "fileBookmarks", job.options.fileBookmarks);
    putOptional(options, "keepBookmarks", job.options.keepBookmarks);
    putOptional(options, "contentsDepth", job.options.contentsDepth);
    putOptional(options, "duplex", job.options.duplex);
    putText(options, "imagePages", job.options.imagePages);
    putText(options, "title", job.options.title);
    putText(options, "author", job.options.author);
    putText(options, "subject", job.options.subject);
    putText(options, "keywords", job.options.keywords);
    const json out = {{"tomefuse-job", jobFormatVersion}, {"entries", entries}, {"options", options}};
    return out.dump(2) + "\n";
}

JobReading readJobText(std::string_view text, const std::string& folder) {
    JobReading reading;
    try {
        const json in = json::parse(text);
        const int version = in.is_object() ? take<int>(in, "tomefuse-job", 0) : 0;
        if (version <= 0) {
            reading.error = translate("tomefuse::JobFile", "not a Tomefuse job file");
            return reading;
        }
        if (version > jobFormatVersion) {
            reading.error = withArguments(
                translate("tomefuse::JobFile", "made by a newer Tomefuse (job format %1); this one reads format %2"),
                {std::to_string(version), std::to_string(jobFormatVersion)});
            return reading;
        }
        Job job;
        for (const json& item : in.at("entries")) {
            JobEntry entry;
            entry.path = readPath(item.at("path").get<std::string>(), folder);
            entry.name = take<std::string>(item, "name", fs::path(entry.path).stem().string());
            entry.pages = take<std::string>(item, "pages", "all");
            entry.rotation = quarterTurn(take<int>(item, "rotation", 0));
            for (const json& turn : take<json>(item, "pageRotations", json::array())) {
                entry.pageRotations.push_back(
                    {turn.at("pages").get<std::string>(), quarterTurn(turn.at("rotation").get<int>())});
            }
            if (auto interleave = item.find("interleave"); interleave != item.end()) {
                entry.interleavePath = readPath(interleave->at("path").get<std::string>(), folder);
                entry.interleaveReversed = take<bool>(*interleave, "reversed", false);
            }
            for (const std::string* path : {&entry.path, &entry.interleavePath}) {
                if (!path->empty() && !fs::exists(*path)) {
                    reading.missing.push_back(*path);
                }
            }
            job.entries.push_back(std::move(entry));
        }
        const json options = take<json>(in, "options", json::object());
        JobOptions& o = job.options;
        if (options.contains("fileBookmarks")) o.fileBookmarks = options["fileBookmarks"].get<bool>();
        if (options.contains("keepBookmarks")) o.keepBookmarks = options["keepBookmarks"].get<bool>();
        if (options.contains("contentsDepth")) o.contentsDepth = options["contentsDepth"].get<int>();
        if (options.contains("duplex")) o.duplex = options["duplex"].get<bool>();
        o.imagePages = take<std::string>(options, "imagePages", "");
        if (!o.imagePages.empty() && !imagePageSizeNamed(o.imagePages)) {
            throw std::runtime_error("an image page size that is not natural, a4 or letter");
        }
        o.title = take<std::string>(options, "title", "");
        o.author = take<std::string>(options, "author", "");
        o.subject = take<std::string>(options, "subject", "");
        o.keywords = take<std::string>(options, "keywords", "");
        reading.job = std::move(job);
    } catch (const std::exception& problem) {
        reading = JobReading{};
        reading.error = withArguments(translate("tomefuse::JobFile", "a damaged job file: %1"), {problem.what()});
    }
    return reading;
}

JobReading readJobFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        JobReading reading;
        reading.error = fs::exists(path) ? translate("tomefuse::JobFile", "cannot be read")
                                         : translate("tomefuse::JobFile", "no longer there");
        return reading;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return readJobText(text.str(), fs::absolute(path).parent_path().string());
}

bool writeJobFile(const std::string& path, const Job& job, std::string& error) {
    std::unique_ptr<AtomicFile> file = AtomicFile::create(path, error);
    if (!file) {
        return false;
    }
    const std::string text = jobText(job, fs::absolute(path).parent_path().string());
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(file->fd(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = translate("tomefuse::JobFile", "cannot be written");
            return false;
        }
        done += static_cast<size_t>(n);
    }
    const WriteResult result = file->commit();
    error = result.error;
    return result.ok;
}

}  // namespace tomefuse
