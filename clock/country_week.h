// The working days of each country's week, from the Unicode CLDR's weekends (generated with the
// table of places: tools/zones/make_zone_places.py).
#ifndef FARHOUR_CLOCK_COUNTRY_WEEK_H
#define FARHOUR_CLOCK_COUNTRY_WEEK_H

// The working days of the country with that ISO 3166 code ("IL"), as bits from Sunday (bit 0) to
// Saturday (bit 6): 0x1F, Sunday to Thursday, for Israel. An unknown, empty or null code has the
// usual Monday to Friday, 0x3E.
int CountryWorkDays(const char* countryCode);

#endif
