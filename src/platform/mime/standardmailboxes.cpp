#include "platform/mime/standardmailboxes.h"

#include <gmime/gmime.h>

#include <cstring>

namespace mime {
namespace {

bool isStandardMailbox(InternetAddress* address) {
    if (!INTERNET_ADDRESS_IS_MAILBOX(address)) {
        return false;
    }
    const char* spec = internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address));
    return spec != nullptr && std::strchr(spec, '@') != nullptr;
}

bool isStandardGroup(InternetAddress* address) {
    if (!INTERNET_ADDRESS_IS_GROUP(address)) {
        return false;
    }
    InternetAddressList* members =
        internet_address_group_get_members(INTERNET_ADDRESS_GROUP(address));
    const int count = members == nullptr ? 0 : internet_address_list_length(members);
    for (int i = 0; i < count; ++i) {
        InternetAddress* member = internet_address_list_get_address(members, i);
        if (!isStandardMailbox(member) && !isStandardGroup(member)) {
            return false;
        }
    }
    return true;
}

} // namespace

GObjectPtr<InternetAddressList> StandardMailboxes(InternetAddressList* parsed) {
    GObjectPtr<InternetAddressList> kept(internet_address_list_new());
    const int count = parsed == nullptr ? 0 : internet_address_list_length(parsed);
    for (int i = 0; i < count; ++i) {
        InternetAddress* address = internet_address_list_get_address(parsed, i);
        if (isStandardMailbox(address) || isStandardGroup(address)) {
            internet_address_list_add(kept.get(), address);
        }
    }
    return kept;
}

} // namespace mime
