# Times each script's run procedure: tclsh timeall.tcl
# Prints microseconds per run, as Tcl's time command measures them.
set here [file dirname [info script]]
foreach {name count} {loops 5 text 200 floats 50 arrays 2000 question 10000} {
    source [file join $here $name.tcl]
    run
    set us [lindex [time run $count] 0]
    puts [format "%-10s %12.2f us per run" $name $us]
}
