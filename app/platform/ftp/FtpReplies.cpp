#include "platform/ftp/FtpReplies.h"

namespace {

bool digit(char c)
{
    return c >= '0' && c <= '9';
}

// The code a line begins with, 0 for none.
int codeOf(std::string_view line)
{
    if (line.size() < 4 || !digit(line[0]) || !digit(line[1]) || !digit(line[2]))
        return 0;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

} // namespace

int FtpReplies::take(std::string_view line)
{
    const int code = codeOf(line);
    const char mark = code ? line[3] : '\0';
    if (open_) {
        if (code != open_ || mark != ' ')
            return 0;
        open_ = 0;
        return code;
    }
    if (mark == '-')
        open_ = code;
    return mark == ' ' ? code : 0;
}
