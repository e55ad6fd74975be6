#pragma once
// A large contact group made inside the engine: the rows are doubled with INSERT ... SELECT,
// then each row gets texts of its own (phone, name, birth date, a free field, outcomes), so
// a 100,000-contact group takes seconds rather than a minute of single inserts.
class Transaction;

void fillLargeGroup(Transaction &tr, int group, int size);
