#pragma once
// The administrator's check of a computer (brivana --verifica-record): where its record is kept,
// and whether its keeper can read and write there. Said in Italian on the standard output.

namespace brivana {

// Runs the check with the keeper's identity and says what it found. 0 when the keeper can
// keep the record where it should, 1 otherwise. Never waits on the server more than a few seconds.
int CheckRecordPlace();

}  // namespace brivana
