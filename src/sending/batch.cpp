#include "sending/batch.h"

#include "sending/send_queue.h"
#include "util/date_code.h"

namespace nfp {

void RunBatch(MemoryTable& registros, MemoryTable& queue, const BatchSteps& steps)
{
    registros.First();
    while (!registros.Eof()) {
        // Any flag but "N" marks the profile; it is read as it is now.
        if (registros.FieldText("ENVIAR") == "N") {
            registros.Next();
            continue;
        }
        const std::string pattern = MonthPattern(steps.monthText());
        const std::string folder = registros.FieldText("CAMINHO");
        for (const std::string& name : steps.findEntries(folder, pattern))
            AppendQueueRow(queue, name, folder);
        steps.enviar();
        registros.Next();
    }
}

} // namespace nfp
