#pragma once

#include "platform/mime/gmimehandles.h"

typedef struct _InternetAddressList InternetAddressList;

namespace mime {

// What a standard From, To or Cc header may hold of a parsed address text: its mailboxes whose
// address has an "@", in their order, and the groups made only of such mailboxes. A phone
// number or a hand-typed fragment parses as a mailbox too; it is no one a mail server can
// deliver to, so it lives only in the verbatim copy beside the header.
GObjectPtr<InternetAddressList> StandardMailboxes(InternetAddressList* parsed);

} // namespace mime
