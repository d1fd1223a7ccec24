# Clips for the Windows tests and benchmarks, made once by the build machine's ffmpeg: the
# Windows converter has no sources or video encoders of its own.
find_program(HOST_FFMPEG ffmpeg REQUIRED)

# A rule making `path`: `seconds` of a test picture with a 440 Hz tone in stereo (the container
# from the name's extension).
function(brimwave_host_clip path seconds)
    get_filename_component(folder ${path} DIRECTORY)
    add_custom_command(OUTPUT ${path}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${HOST_FFMPEG} -v error -y -f lavfi -i testsrc=size=160x120:rate=10:duration=${seconds}
            -f lavfi -i sine=frequency=440:sample_rate=48000:duration=${seconds} -ac 2 -c:v mpeg4
            -c:a aac -shortest ${path}
        VERBATIM)
endfunction()
