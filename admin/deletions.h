#pragma once

// Emptying the competition file of all its participants (with their run times) or of all
// its teams. Each deletion is one transaction: it happens whole or not at all.

namespace kx::db {
class Connection;
}

namespace kx {

// Deletes the run times of participants (rows whose `teilnehmer` is above 0) and every
// participant. Throws db::Error; nothing is deleted then.
void DeleteAllParticipants(db::Connection& db);

// Clears every participant's team and deletes every team. Throws db::Error; nothing is
// changed then.
void DeleteAllTeams(db::Connection& db);

}  // namespace kx
