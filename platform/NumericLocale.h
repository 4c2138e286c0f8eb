#pragma once

namespace platform {

// Call right after the QApplication exists (it sets the process locale from
// the environment): numbers are read and written with the C locale again.
void UseCNumericLocale();

} // namespace platform
