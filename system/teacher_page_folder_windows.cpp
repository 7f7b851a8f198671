#include "system/teacher_page_folder.h"

#include "system/system_record_place.h"

namespace brivana {

// %LOCALAPPDATA%\Brivana\ is the player's own record folder already.
std::string TeacherPageFolder() { return UserRecordDirectory() + "registro\\"; }

}  // namespace brivana
