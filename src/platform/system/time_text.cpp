#include "platform/system/time_text.h"

#include <locale.h>

#include <ctime>
#include <type_traits>
#include <vector>

static_assert(sizeof(std::time_t) >= sizeof(std::int64_t) && std::is_signed_v<std::time_t>,
              "file times are kept in 64 bits");

namespace {

// The C locale as an object of its own, so that formatting never touches the
// process-wide locale.
class CLocale {
public:
    CLocale() : m_locale(::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {}
    ~CLocale()
    {
        if (m_locale != static_cast<locale_t>(nullptr))
            ::freelocale(m_locale);
    }
    CLocale(const CLocale&) = delete;
    CLocale& operator=(const CLocale&) = delete;
    locale_t Get() const { return m_locale; }

private:
    locale_t m_locale;
};

}  // namespace

std::string FormatLocalTime(std::int64_t t, const char* format)
{
    if (t < 0 || format == nullptr || *format == '\0')
        return {};
    const auto time = static_cast<std::time_t>(t);
    std::tm local{};
    if (::localtime_r(&time, &local) == nullptr)
        return {};

    static const CLocale cLocale;
    if (cLocale.Get() == static_cast<locale_t>(nullptr))
        return {};
    // strftime gives no length up front: grow the buffer until the text fits.
    std::vector<char> buffer(128);
    while (buffer.size() <= 64 * 1024) {
        const std::size_t length = ::strftime_l(buffer.data(), buffer.size(), format, &local, cLocale.Get());
        if (length > 0)
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
    return {};
}
