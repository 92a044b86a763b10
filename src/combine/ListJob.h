#pragma once

#include <string>
#include <vector>

#include "list/EntryReader.h"
#include "list/JobFile.h"
#include "list/PdfEntry.h"
#include "platform/desktop/UserDefaults.h"

namespace tomefuse {

// The window's list and the settings of its combine as a job file holds them: every entry's path,
// listed name, pages, turns and partner, and the options; never a password.
Job jobOfList(const std::vector<PdfEntry>& entries, const UserDefaults& defaults);

// The entries the job names, each read as a listed file is, its passwords asked for again.
std::vector<PdfEntry> entriesOfJob(const Job& job, const EntryReader& reader);

// The files a job names that are gone, a line each, for an alert.
std::string missingFilesText(const std::vector<std::string>& missing);

// What the job's options say goes into the settings; what they leave unsaid stays. Before its
// entries are read: their images are read at the size it names.
void applyJobOptions(const JobOptions& options, UserDefaults& defaults);

}  // namespace tomefuse
