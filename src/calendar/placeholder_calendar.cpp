// The calendar windows live here.
