#pragma once
// What the profile list and the login panel show for the profile table: the
// panel follows the current profile and is locked while any is stored, the
// category and the send flag have their own cell texts.
#include "service/service_credentials.h"
#include "util/memory_table.h"

#include <optional>
#include <string>
#include <string_view>

namespace nfp {

struct LoginPanelState {
    bool locked = false; // fields filled from the current profile, not editable
    std::string usuario;
    std::string senha;
    std::string cnpj;
    // The category position to choose; nullopt keeps the panel's choice
    // (an unlocked panel), -1 chooses none.
    std::optional<int> tipoIndex;
};

// The panel for the table as it stands: the current row (also a row being
// entered) when at least one row is stored, an empty unlocked panel when
// none is.
LoginPanelState LoginPanelFor(const MemoryTable& registros);

// The credentials the login panel shows for the profile with this CNPJ
// (user, password, CNPJ, category position + 1), found without moving the
// table's current row; nullopt when no stored profile has it.
std::optional<ServiceCredentials> ProfileCredentials(const MemoryTable& registros, std::string_view cnpj);

// The radio position for a stored category: 3 or more chooses the last
// position (2), a negative value none (-1).
int CategoryPosition(std::int32_t tipo);

// The category column's text: "Contribuinte", "Contabilista", "Consumidor",
// a single blank for any other value.
std::string CategoryCellText(std::int32_t tipo);

enum class SendFlagPicture { None, NotMarked, Marked };
// "N" a red cross, "S" a green tick, anything else nothing.
SendFlagPicture SendFlagPictureFor(std::string_view flag);

// A double click's new flag: "N" for "S", "S" for anything else.
std::string ToggledSendFlag(std::string_view flag);

} // namespace nfp
