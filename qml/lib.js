.pragma library

// A time in milliseconds as the interface shows it: minutes and seconds with two digits each, and
// the hours in front only when there are any ("1:02:03", "01:05"). Anything that is not a positive
// number yet (no media, an unknown duration) shows as "00:00".
function formatTime(time) {
    var total = Math.round(Number(time) / 1000)
    if (!(total > 0))
        total = 0
    var hours = Math.floor(total / 3600)
    var minutes = Math.floor(total / 60) % 60
    var seconds = total % 60
    var text = (minutes < 10 ? "0" : "") + minutes + ":" + (seconds < 10 ? "0" : "") + seconds
    return hours > 0 ? hours + ":" + text : text
}

// The timeline's share of the media: 1 once the end is reached, 0 while nothing is known.
function progressionOf(position, duration) {
    if (duration > 0 && position > 0 && position < duration)
        return position / duration
    if (duration > 0 && position >= duration)
        return 1
    return 0
}

// Which of the four sound images a volume (0…1) shows.
function soundLevel(volume) {
    if (volume <= 0)
        return 0
    if (volume < 0.5)
        return 1
    if (volume < 1)
        return 2
    return 3
}
