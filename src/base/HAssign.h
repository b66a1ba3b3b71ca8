#pragma once

// Stores a value that differs and says whether it did, for property setters that announce a
// change. A NaN never equals anything, so it is stored and announced.
template <typename T>
bool assignChanged(T& field, const T& value)
{
    if (value == field) {
        return false;
    }
    field = value;
    return true;
}
