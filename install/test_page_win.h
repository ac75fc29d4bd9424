// The test page printed through a newly installed queue.
#pragma once

#include <windows.h>

#include <string>

namespace install {

// One page through the queue's own driver with its default settings: the page text, the
// picture over it, the queue name and the local time. Nothing is reported; a queue that cannot
// be opened prints nothing.
void PrintDriverTestPage(const std::wstring& queueName, HBITMAP picture, const wchar_t* pageText);

}  // namespace install
