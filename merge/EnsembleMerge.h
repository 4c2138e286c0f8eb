#pragma once
#include "CDecoder.h"

class CTextLineReader;
class CQelEns;

// Writes the values of the ASCII file's next line group into the ensemble
// through the decoder's records; false when a line that the ensemble needs
// cannot be read (fields handled before that point are already changed).
bool MergeEnsemble(const CDecoder& decoder, CQelEns& ensemble, CTextLineReader& ascii);
