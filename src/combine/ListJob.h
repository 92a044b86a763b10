#pragma once

#include <vector>

#include "list/JobFile.h"
#include "list/PdfEntry.h"
#include "platform/desktop/UserDefaults.h"

namespace tomefuse {

// The window's list and the settings of its combine as a job file holds them: every entry's path,
// listed name, pages, turns and partner, and the options; never a password.
Job jobOfList(const std::vector<PdfEntry>& entries, const UserDefaults& defaults);

// An entry as the job names it, not yet read: reading it (and asking for its passwords again)
// is the caller's.
PdfEntry entryOfJob(const JobEntry& job);

// What the job's options say goes into the settings; what they leave unsaid stays. Before its
// entries are read: their images are read at the size it names.
void applyJobOptions(const JobOptions& options, UserDefaults& defaults);

}  // namespace tomefuse
