#pragma once
// The batch: every profile marked for sending, in the profile table's order,
// has its month's files queued from its folder and sent. Moving the table
// moves the login panel, so each profile's files go out with its own
// credentials.
#include "util/memory_table.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nfp {

struct BatchSteps {
    // The month field as it reads now ("mm/yyyy"), asked afresh per profile.
    std::function<std::string()> monthText;
    // Names of the entries of a folder that match a pattern.
    std::function<std::vector<std::string>(std::string_view folder, std::string_view pattern)> findEntries;
    // The send run over what is queued.
    std::function<void()> enviar;
};

// Walks `registros` from its first row. A stop or an error of the send run
// (or of the month pattern) ends the batch at once and passes on.
void RunBatch(MemoryTable& registros, MemoryTable& queue, const BatchSteps& steps);

} // namespace nfp
